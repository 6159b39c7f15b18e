#pragma once
// The .xlsx workbook, written by libxlsxwriter in its constant-memory mode (rows are
// streamed in order, never held). libxlsxwriter does not check the writes to its own
// temporary files, so a full disk there gives a complete-looking but truncated package;
// the file is therefore read back (every part inflated, its CRC and its closing tag
// checked, the sheet's cells counted) before the export counts as saved.

#include "output/sheet_layout.h"

#include <cstdint>
#include <string>

namespace kelvora::output {

inline constexpr std::uint64_t kXlsxMaxRows = 1048576;
inline constexpr std::uint64_t kXlsxMaxColumns = 16384;

// Throws Error, naming the limit, when the layout does not fit an .xlsx sheet.
void checkXlsxLimits(const SheetLayout& layout);

// Writes the workbook to path (created or truncated). Throws Error or IoError on any
// failure, naming the file shownAs (the target the user chose; path when empty); the file
// at path is then incomplete and the caller discards it.
void writeXlsx(const SheetLayout& layout, const std::string& path, const std::string& shownAs = {});

// Reads back an .xlsx package: every member inflates to its recorded size and CRC, every
// XML member ends with its root element's closing tag, and the worksheet holds exactly
// expectedCells cells. Throws IoError when it does not.
void verifyXlsxPackage(const std::string& packagePath, std::uint64_t expectedCells,
                       const std::string& shownAs = {});

} // namespace kelvora::output
