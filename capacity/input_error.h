#pragma once
// A text of the inputs that is no number, with the input it was read from: the window puts
// the focus on that field, the batch tool names it beside the conversion's own message.

#include "kernel/errors.h"

#include <string>
#include <string_view>
#include <utility>

namespace kelvora::capacity {

class InputConvertError : public ConvertError {
public:
    // `pointRow` is the calibration grid's row (from 1) for a point's cell, 0 for a field.
    InputConvertError(const ConvertError& e, std::string component, int pointRow = 0)
        : ConvertError(e), component_(std::move(component)), pointRow_(pointRow) {}
    const std::string& component() const { return component_; }
    int pointRow() const { return pointRow_; }

private:
    std::string component_;
    int pointRow_;
};

// convert()'s value; a ConvertError it throws leaves as an InputConvertError naming
// `component` (and `pointRow`), its text unchanged.
template <typename Convert> auto convertInput(std::string_view component, int pointRow, Convert&& convert) {
    try {
        return convert();
    } catch (const InputConvertError&) {
        throw;
    } catch (const ConvertError& e) {
        throw InputConvertError(e, std::string(component), pointRow);
    }
}

} // namespace kelvora::capacity
