#pragma once
// "导出PDF…" and "打印…" of the "容积表" page: the capacity-table document of the table
// shown (ListBox1), saved as an A4 PDF or sent to a printer, one layout for both
// (output/table_document). A table past the document's limit, or one the inputs no longer
// make, gets its message before any dialog; a file that cannot be written or a printer
// that fails throws for the general error report.

#include "capacity/named_inputs.h"
#include "capacity/row_list.h"
#include "ui/window_services.h"

#include <optional>

class QWidget;

namespace kelvora::output {
struct TableDocument;
}

namespace kelvora::ui {

class TFrmMain;

class TableDocumentActions {
public:
    explicit TableDocumentActions(WindowServices& services) : services_(services) {}

    void exportPdf(capacity::NamedInputs& inputs, const capacity::RowList& rows);
    void print(capacity::NamedInputs& inputs, const capacity::RowList& rows);

private:
    // The document, or nothing after a message.
    std::optional<output::TableDocument> document(capacity::NamedInputs& inputs,
                                                  const capacity::RowList& rows);

    WindowServices& services_;
};

// The two buttons in `bar` (the page's room for them), "ExportPdfButton" and
// "PrintButton", working on the window's inputs and ListBox1.
void addTableDocumentButtons(TFrmMain& window, QWidget* bar);

} // namespace kelvora::ui
