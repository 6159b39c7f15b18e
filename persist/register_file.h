#pragma once
// A tank register: a CSV table as spreadsheet applications save it, a heading row of input
// names and one tank per row, read by the CSV reader every text table of Kelvora shares
// (persist/csv_reader.h): UTF-8 or GBK, comma, semicolon or tab separated, quoted cells.
// Every row has as many cells as the heading; a row with fewer or more refuses the
// register, since its cells would otherwise land in other columns.

#include "kernel/errors.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::persist {

// Thousands of tanks fit in a few megabytes; the ceiling only bounds a wrong file's cost.
inline constexpr std::size_t kMaxRegisterBytes = std::size_t{64} << 20;
// At most this many tanks and columns; what is read stays within a few times the file.
inline constexpr std::size_t kMaxRegisterRows = 10'000;
inline constexpr std::size_t kMaxRegisterColumns = 256;

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

// Cells have the blanks around them removed, outside quotes. RegisterError names the line
// of text that is neither UTF-8 nor GBK, of an unclosed quote, of a control character, of
// a row of the wrong width, and the limits above when one is passed.
RegisterTable parseRegister(std::string_view bytes);

// IoError when the file cannot be read, RegisterError when it is too large or not a table.
RegisterTable readRegister(const std::filesystem::path& path);

} // namespace kelvora::persist
