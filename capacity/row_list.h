#pragma once
// The generated capacity table: one text per row, "level,value", in ascending level.
// Rows are kept in one buffer with end offsets, so a table of millions of rows costs a
// few bytes per row instead of one allocation each.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::capacity {

class RowList {
public:
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }

    std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(begin, ends_[i] - begin);
    }

    void clear() {
        text_.clear();
        ends_.clear();
    }

    void reserve(std::size_t rows, std::size_t bytesPerRow = 16) {
        ends_.reserve(rows);
        text_.reserve(rows * bytesPerRow);
    }

    void append(std::string_view row) {
        text_.append(row);
        ends_.push_back(text_.size());
    }

    // Appends level + "," + value without a temporary.
    void append(std::string_view level, std::string_view value) {
        text_.append(level);
        text_.push_back(',');
        text_.append(value);
        ends_.push_back(text_.size());
    }

    std::size_t bytes() const { return text_.capacity() + ends_.capacity() * sizeof(std::size_t); }

private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

} // namespace kelvora::capacity
