#pragma once
// Saving a generated capacity table as a workbook. The format follows the chosen name:
// ".xlsx" (any case) gives an Office Open XML workbook, every other name, ".xls" and no
// extension included, an Excel 97–2003 workbook, the format the save dialog proposes.
//
// The save is all or nothing: the workbook goes to a temporary file beside the target
// and replaces it only when complete. Any failure throws kelvora::Error (a table that
// does not fit the format) or IoError (the file system), leaving an existing file at that
// name as it was. The caller shows "保存成功！" once this returns.

#include "capacity/named_inputs.h"
#include "capacity/row_list.h"
#include "capacity/tank_description.h"
#include "output/document_model.h"
#include "output/sheet_layout.h"
#include "output/table_columns.h"
#include "output/text_sheet.h"

#include <span>
#include <string>
#include <string_view>

namespace kelvora::output {

enum class WorkbookFormat { Xls, Xlsx };

WorkbookFormat workbookFormatFor(std::string_view fileName);

// Writes the entries of ListBox1 (rows) in column groups of N rows, N from Edit9's text,
// with the chosen `columns` beside each level and value (sheet_layout); weight is
// CheckBox1, choosing the heading "重量Kg" over "容积L". With the tank's fields
// (tankSheetFields), a second sheet "罐体数据" holds them as label/value pairs; the table's
// sheet is the same either way.
// The `extra` sheets (a vertical tank's 小数表 and 静压力容量增大值表) follow the tank's.
void SaveFileToExcel(const std::string& fileName, const capacity::RowList& rows, std::string_view edit9Text,
                     bool weight, std::span<const DocumentField> tank = {},
                     const TableColumns& columns = SheetLayout::kNoColumns,
                     std::span<const TextSheet> extra = {});

// The workbook of a table just generated from `inputs` (`d` its description), as the window,
// the batch tool and the register save it: the chosen columns (table_columns) beside every
// group, with `tankSheet` the sheet "罐体数据" with the document's header, and a vertical
// tank's 小数表 and 静压力容量增大值表 (a refusal of those sheets is thrown as an Error:
// check verticalSheets first to stop with a message).
void saveTableWorkbook(const std::string& fileName, const capacity::TTankDescription& d,
                       const capacity::NamedInputs& inputs, const capacity::RowList& rows,
                       bool tankSheet = true);
// The same with the sheet "罐体数据" from fields already made (a document's header).
void saveTableWorkbook(const std::string& fileName, const capacity::TTankDescription& d,
                       const capacity::NamedInputs& inputs, const capacity::RowList& rows,
                       std::span<const DocumentField> tankSheet);

} // namespace kelvora::output
