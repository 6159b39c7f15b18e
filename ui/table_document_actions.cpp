#include "ui/table_document_actions.h"

#include "kernel/errors.h"
#include "output/table_document.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace kelvora::ui {

bool TableDocumentActions::refused(const capacity::RowList& rows) {
    const std::string refusal = output::documentRefusal(rows.size());
    if (refusal.empty()) return false;
    services_.messageBox(refusal);
    return true;
}

void TableDocumentActions::exportPdf(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs,
                                     const capacity::RowList& rows) {
    if (refused(rows)) return;
    const auto path = services_.saveDialog({"pdf", {"*.pdf"}, "油罐容积表"});
    if (!path) return;
    output::saveTableDocumentPdf(*path, output::describeTable(d, inputs, rows, output::todayText()));
    services_.informationBox("保存成功！");
}

void TableDocumentActions::print(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs,
                                 const capacity::RowList& rows) {
    if (refused(rows)) return;
    const output::TableDocument doc = output::describeTable(d, inputs, rows, output::todayText());
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(doc.title));
    // A4 portrait with 15 mm margins is offered; the paper and orientation chosen in the
    // dialog are what the pages are laid out on.
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    if (!services_.printDialog(printer)) return;
    output::paintTableDocument(printer, doc);
    if (printer.printerState() == QPrinter::Error) throw IoError("打印失败");
}

} // namespace kelvora::ui
