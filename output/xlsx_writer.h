#pragma once
// The .xlsx workbook, written by libxlsxwriter in its constant-memory mode (rows are
// streamed in order, never held). libxlsxwriter does not check the writes to its own
// temporary files, so a full disk there gives a complete-looking but truncated package;
// the file is therefore read back (every part inflated, its CRC and its closing tag
// checked, the sheet's cells counted) before the export counts as saved. The read-back
// runs beside the writing, on a second thread.

#include "output/sheet_layout.h"

#include <atomic>
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

// Reads an .xlsx package front to back: every member inflates to the CRC and size its
// central-directory entry records, every XML member ends by closing its root element, and
// the worksheet holds exactly expectedCells cells. Throws IoError, naming the file shownAs
// (packagePath when empty), when it does not. While writerDone is false the file is
// followed as another thread writes it, waiting for its bytes; the zip writer only ever
// rewrites local-header CRC and size fields behind that point, and those are taken from
// the central directory.
void checkXlsxPackage(const std::string& packagePath, std::uint64_t expectedCells, const std::string& shownAs,
                      const std::atomic<bool>& writerDone);

} // namespace kelvora::output
