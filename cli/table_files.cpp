#include "cli/table_files.h"

#include "capacity/page_inputs.h"
#include "capacity/requests.h"
#include "capacity/row_list.h"
#include "capacity/tank_description.h"
#include "cli/document_application.h"
#include "output/csv_table.h"
#include "output/table_document.h"
#include "output/vertical_sheets.h"
#include "output/workbook_export.h"
#include "persist/atomic_file.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace kelvora::cli {

std::optional<TableFormat> tableFormatFor(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos) return std::nullopt;
    std::string ending(name.substr(dot));
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ending == ".xls") return TableFormat::Xls;
    if (ending == ".xlsx") return TableFormat::Xlsx;
    if (ending == ".pdf") return TableFormat::Pdf;
    if (ending == ".csv") return TableFormat::Csv;
    return std::nullopt;
}

struct DirectPrinter::Application {
    DocumentApplication application;
};

DirectPrinter::DirectPrinter() = default;
DirectPrinter::~DirectPrinter() = default;

QByteArray DirectPrinter::print(const output::TableDocument& doc, std::string& refusal) {
    if (!application_) application_ = std::make_unique<Application>();
    refusal = output::unprintableCharacterRefusal(doc);
    return refusal.empty() ? output::tableDocumentPdf(doc) : QByteArray();
}

TableFilesOutcome makeTableFiles(capacity::NamedInputs& inputs, std::span<const TableFile> files,
                                 DocumentPrinter& printer) {
    TableFilesOutcome outcome;
    if (outcome.refusal = capacity::textLengthRefusal(inputs); !outcome.refusal.empty()) return outcome;
    capacity::RowList rows;
    const auto request = capacity::GenerateCapacityTable(inputs, rows);
    if (request.stopped()) {
        outcome.refusal = request.message;
        return outcome;
    }
    outcome.note = request.note;
    outcome.rows = rows.size();
    if (rows.size() > 0) {
        const std::string_view last = rows[rows.size() - 1];
        outcome.capacity = last.substr(last.find(',') + 1);
    }

    auto wanted = [&](TableFormat format) {
        return std::any_of(files.begin(), files.end(),
                           [&](const TableFile& f) { return f.format == format; });
    };
    const bool pdf = wanted(TableFormat::Pdf);
    const bool workbook = wanted(TableFormat::Xls) || wanted(TableFormat::Xlsx);
    if (pdf) outcome.refusal = output::documentRefusal(rows.size());
    // The workbook's tank sheet prints the document's header, with the same refusals.
    if (outcome.refusal.empty() && (pdf || workbook)) outcome.refusal = output::documentInputsRefusal(inputs);
    if (outcome.refusal.empty() && workbook)
        outcome.refusal =
            output::verticalSheets(*capacity::ReadTankDescription(inputs, capacity::RequestType::Table).description)
                .refusal;
    if (!outcome.refusal.empty()) return outcome;

    std::optional<output::TableDocument> doc;
    std::vector<output::DocumentField> tankSheet;
    std::optional<capacity::TTankDescription> description;
    if (pdf || workbook) {
        const auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::Table);
        description = *read.description;
        const std::string today = output::todayText();
        if (pdf) doc = output::describeTable(*read.description, inputs, rows, today);
        // A table the document takes has the same header with its rows as without.
        if (workbook)
            tankSheet = output::tankSheetFields(
                doc ? *doc : output::describeTable(*read.description, inputs, rows, today, false));
    }
    QByteArray pdfBytes;
    if (pdf) {
        pdfBytes = printer.print(*doc, outcome.refusal);
        if (!outcome.refusal.empty()) return outcome;
    }

    for (const auto& file : files) {
        switch (file.format) {
        case TableFormat::Pdf:
            persist::writeFileAtomically(
                file.path, std::string_view(pdfBytes.constData(), static_cast<std::size_t>(pdfBytes.size())));
            break;
        case TableFormat::Csv:
            output::saveCsvTable(file.path.string(), rows, inputs.checked("CheckBox1"));
            break;
        case TableFormat::Xls:
        case TableFormat::Xlsx:
            output::saveTableWorkbook(file.path.string(), *description, inputs, rows, tankSheet);
            break;
        }
    }
    // The document is made all the same; the note says its certificate is out of date.
    if (pdf)
        if (const std::string expired = output::validUntilPassedNote(inputs, output::todayText()); !expired.empty())
            outcome.note += (outcome.note.empty() ? "" : "\n") + expired;
    return outcome;
}

} // namespace kelvora::cli
