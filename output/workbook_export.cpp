#include "output/workbook_export.h"

#include "output/vertical_sheets.h"

#include "output/biff8_writer.h"
#include "output/sheet_layout.h"
#include "output/xlsx_writer.h"

#include "kernel/errors.h"
#include "persist/atomic_file.h"

#include <filesystem>

namespace kelvora::output {

namespace {

class AtomicFileSink : public ByteSink {
public:
    explicit AtomicFileSink(persist::AtomicFile& file) : file_(file) {}
    void write(const void* data, std::size_t size) override {
        file_.write(std::string_view(static_cast<const char*>(data), size));
    }

private:
    persist::AtomicFile& file_;
};

} // namespace

WorkbookFormat workbookFormatFor(std::string_view fileName) {
    constexpr std::string_view kXlsx = ".xlsx";
    if (fileName.size() < kXlsx.size()) return WorkbookFormat::Xls;
    const std::string_view ending = fileName.substr(fileName.size() - kXlsx.size());
    for (std::size_t i = 0; i < kXlsx.size(); ++i) {
        const char c =
            ending[i] >= 'A' && ending[i] <= 'Z' ? static_cast<char>(ending[i] - 'A' + 'a') : ending[i];
        if (c != kXlsx[i]) return WorkbookFormat::Xls;
    }
    return WorkbookFormat::Xlsx;
}

void SaveFileToExcel(const std::string& fileName, const capacity::RowList& rows, std::string_view edit9Text,
                     bool weight, std::span<const DocumentField> tank, const TableColumns& columns,
                     std::span<const TextSheet> extra) {
    const SheetLayout layout(rows, edit9Text, weight, columns);
    const WorkbookFormat format = workbookFormatFor(fileName);
    // A table that cannot be saved is refused before anything touches the disk.
    if (format == WorkbookFormat::Xls) {
        checkXlsLimits(layout);
    } else {
        checkXlsxLimits(layout);
        checkXlsxTexts(tank);
    }

    persist::AtomicFile file(fileName);
    AtomicFileSink sink(file);
    if (format == WorkbookFormat::Xls) {
        writeXls(layout, sink, tank, extra);
    } else {
        const XlsxPackage written = writeXlsx(layout, sink, tank, extra);
        std::uint64_t tankCells = 0;
        for (const DocumentField& field : tank)
            tankCells += field.value.empty() ? 1 : 2;
        for (const TextSheet& sheet : extra)
            tankCells += textSheetCells(sheet);
        checkWrittenXlsx(file.tempPath().string(), written, layout.cellCount(), fileName, tankCells);
    }
    file.commit();
}

void saveTableWorkbook(const std::string& fileName, const capacity::TTankDescription& d,
                       const capacity::NamedInputs& inputs, const capacity::RowList& rows, bool tankSheet) {
    std::vector<DocumentField> tank;
    if (tankSheet) tank = tankSheetFields(describeTable(d, inputs, rows, todayText(), false));
    saveTableWorkbook(fileName, d, inputs, rows, tank);
}

void saveTableWorkbook(const std::string& fileName, const capacity::TTankDescription& d,
                       const capacity::NamedInputs& inputs, const capacity::RowList& rows,
                       std::span<const DocumentField> tank) {
    // The uncertainty of a table longer than a document may be is left out, as on the tank sheet.
    const auto uncertainty = rows.size() <= kMaxDocumentRows ? tableUncertaintyOf(d, inputs) : std::nullopt;
    const TableColumns columns = tableColumns(d, inputs, rows.size(), uncertainty);
    // A vertical tank's millimetre and hydrostatic tables follow as sheets of their own.
    const VerticalSheets vertical = verticalSheets(d);
    if (!vertical.refusal.empty()) throw Error(vertical.refusal);
    SaveFileToExcel(fileName, rows, inputs.text("Edit9"), inputs.checked("CheckBox1"), tank, columns,
                    vertical.sheets);
}

} // namespace kelvora::output
