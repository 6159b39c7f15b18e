#pragma once
// One path from a tank's inputs to its table files, taken by the batch tool's --out and by
// the register alike: the table request, then every refusal of every file asked for (the
// document's row limit, the header's certificate date and uncertainties, which the
// workbook's sheet "罐体数据" prints too, a character the fonts cannot show), and only then
// the files, each in one atomic replacement.

#include "capacity/named_inputs.h"
#include "output/document_model.h"

#include <QByteArray>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelvora::cli {

enum class TableFormat { Xls, Xlsx, Pdf, Csv };

// The format a file name's ending (any case) chooses; nothing for any other ending.
std::optional<TableFormat> tableFormatFor(std::string_view fileName);

struct TableFile {
    TableFormat format;
    std::filesystem::path path;
};

// Draws a document that passed the other refusals as PDF bytes. A document with a
// character the fonts cannot show answers nothing, its refusal in `refusal`.
class DocumentPrinter {
public:
    virtual ~DocumentPrinter() = default;
    virtual QByteArray print(const output::TableDocument& doc, std::string& refusal) = 0;
};

// Draws on the calling thread, which must be the one that starts Qt's GUI part: started
// on the first document, so a workbook or a CSV never needs it.
class DirectPrinter : public DocumentPrinter {
public:
    DirectPrinter();
    ~DirectPrinter() override;
    QByteArray print(const output::TableDocument& doc, std::string& refusal) override;

private:
    struct Application;
    std::unique_ptr<Application> application_;
};

struct TableFilesOutcome {
    std::string refusal; // a validation stop, as the message box shows it: nothing was written
    std::string note;    // of a table made: the levels extrapolated beyond calibration points
    std::size_t rows = 0;
    std::string capacity; // the last row's value, as the table shows it
};

// Makes the table of `inputs` and writes it to every file of `files`, in their order. A
// refusal leaves every file as it was; a file that cannot be written throws IoError, the
// files before it written whole, the failing one and those after it as they were.
TableFilesOutcome makeTableFiles(capacity::NamedInputs& inputs, std::span<const TableFile> files,
                                 DocumentPrinter& printer);

} // namespace kelvora::cli
