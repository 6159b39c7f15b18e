#pragma once
// A tank register: a CSV table as spreadsheet applications save it, a heading row of input
// names and one tank per row. Taken as UTF-8 (with or without a byte-order mark) when its
// bytes are UTF-8, otherwise as GBK, the code page a Chinese spreadsheet saves in; cells
// separated by commas, or by semicolons when the heading row holds more of those (the
// locales whose decimal sign is a comma); a cell in double quotes may hold either
// separator, line breaks and doubled quotes.

#include "kernel/errors.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::persist {

// Thousands of tanks fit in a few megabytes; the ceiling only bounds a wrong file's cost.
inline constexpr std::size_t kMaxRegisterBytes = std::size_t{64} << 20;

struct RegisterRow {
    int line = 0; // of the row's first line in the file, from 1
    std::vector<std::string> cells;
};

struct RegisterTable {
    std::vector<std::string> heading;
    std::vector<RegisterRow> rows; // rows whose cells are all empty are left out
};

// A register that cannot be read as a table; the text names the line.
class RegisterError : public Error {
public:
    using Error::Error;
};

// Cells have the blanks around them removed, outside quotes.
RegisterTable parseRegister(std::string_view bytes);

// IoError when the file cannot be read, RegisterError when it is too large or not a table.
RegisterTable readRegister(const std::filesystem::path& path);

} // namespace kelvora::persist
