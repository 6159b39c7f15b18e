#pragma once
// The result of the "变位识别" page as a file and on paper: "保存结果…" writes a CSV file
// (UTF-8 with a byte-order mark, so that a spreadsheet shows its headings) with the result
// lines as the batch tool prints them, an empty line, and one row per record with its
// residuals before and after the fit; "打印…" prints the result text above the residual chart.

#include "identify/tilt_fit.h"

#include <QString>

#include <cstddef>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace kelvora::ui {

// The residual table's heading.
inline constexpr const char* kResidualHeading = "line,level,residual_before,residual_after";

// The file's content: `levels` and `lines` (the records' numbers) run with the fit's residuals.
std::string identifyResultCsv(const identify::TiltFit& fit, const std::vector<double>& levels,
                              const std::vector<std::size_t>& lines);

// One page: the title, the result (rich text, as the page shows it) and `chart` below it,
// scaled to the width left. Throws IoError when the printer fails.
void printIdentifyReport(QPrinter& printer, const QString& resultHtml, QWidget* chart);

} // namespace kelvora::ui
