#pragma once
// The parts of an .xlsx package other than its sheets, as a spreadsheet application
// writes them for a new workbook: content types, the package's and the workbook's
// relationships, the workbook with its list of sheets, the default styles and theme, and
// the document properties.

#include <ctime>
#include <string>
#include <vector>

namespace kelvora::output {

struct XlsxPart {
    std::string name;
    std::string content;
};

// The parts for a workbook whose sheets, in this order, are xl/worksheets/sheet1.xml …;
// created is the time the document properties record.
std::vector<XlsxPart> packageParts(const std::vector<std::string>& sheetNames, std::time_t created);

} // namespace kelvora::output
