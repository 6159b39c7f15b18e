#pragma once
// Saving a generated capacity table as a workbook. The format follows the chosen name:
// ".xlsx" (any case) gives an Office Open XML workbook, every other name, ".xls" and no
// extension included, an Excel 97–2003 workbook, the format the save dialog proposes.
//
// The save is all or nothing: the workbook goes to a temporary file beside the target
// and replaces it only when complete. Any failure throws kelvora::Error (a table that
// does not fit the format) or IoError (the file system), leaving an existing file at that
// name as it was. The caller shows "保存成功！" once this returns.

#include "capacity/row_list.h"
#include "output/document_model.h"
#include "output/text_sheet.h"

#include <span>
#include <string>
#include <string_view>

namespace kelvora::output {

enum class WorkbookFormat { Xls, Xlsx };

WorkbookFormat workbookFormatFor(std::string_view fileName);

// Writes the entries of ListBox1 (rows) in column pairs of N rows, N from Edit9's text;
// weight is CheckBox1, choosing the heading "重量Kg" over "容积L". With the tank's fields
// (tankSheetFields), a second sheet "罐体数据" holds them as label/value pairs; the table's
// sheet is the same either way.
// The `extra` sheets (a vertical tank's 小数表 and 静压力容量增大值表) follow the tank's.
void SaveFileToExcel(const std::string& fileName, const capacity::RowList& rows, std::string_view edit9Text,
                     bool weight, std::span<const DocumentField> tank = {},
                     std::span<const TextSheet> extra = {});

} // namespace kelvora::output
