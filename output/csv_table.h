#pragma once
// A capacity table as plain text for spreadsheets, scripts and other programs: UTF-8 after
// a byte-order mark, a heading line "高度cm,容积L" (or "高度cm,重量Kg" in weight mode),
// then one "level,value" line per row, the row's own texts unchanged. Lines end in CR LF,
// as comma-separated files do.
//
// Saved in one atomic replacement like the workbooks: a failure throws IoError with the
// workbooks' texts and leaves an existing file at that name as it was.

#include "capacity/row_list.h"

#include <string>

namespace kelvora::output {

// Begins every comma-separated file meant for a spreadsheet (never the gauge chart, never
// standard output).
inline constexpr const char* kCsvByteOrderMark = "\xEF\xBB\xBF";

void saveCsvTable(const std::string& path, const capacity::RowList& rows, bool weight);

} // namespace kelvora::output
