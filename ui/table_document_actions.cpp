#include "ui/table_document_actions.h"

#include "kernel/errors.h"
#include "output/table_document.h"
#include "persist/file_name.h"
#include "ui/Unit1.h"

#include <QBoxLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>

namespace kelvora::ui {

std::optional<output::TableDocument> TableDocumentActions::document(capacity::NamedInputs& inputs,
                                                                    const capacity::RowList& rows) {
    const output::ShownTable shown = output::describeShownTable(inputs, rows);
    if (!shown.description) {
        services_.messageBox(shown.message);
        return std::nullopt;
    }
    auto doc = output::describeTable(*shown.description, inputs, rows, output::todayText());
    if (const std::string refusal = output::unprintableCharacterRefusal(doc); !refusal.empty()) {
        services_.messageBox(refusal);
        return std::nullopt;
    }
    // A certificate out of date on the day it is made is made only when the user says so.
    if (const std::string note = output::validUntilPassedNote(inputs, output::todayText()); !note.empty())
        if (!services_.askYesNo(note + "仍要生成文档吗？")) return std::nullopt;
    return doc;
}

void TableDocumentActions::exportPdf(capacity::NamedInputs& inputs, const capacity::RowList& rows) {
    const auto doc = document(inputs, rows);
    if (!doc) return;
    const auto path = services_.saveDialog(
        {"pdf", {"*.pdf"}, persist::proposedFileName(inputs.text("TankNumber"), "油罐容积表")});
    if (!path) return;
    output::saveTableDocumentPdf(*path, *doc);
    services_.informationBox("保存成功！");
}

void TableDocumentActions::print(capacity::NamedInputs& inputs, const capacity::RowList& rows) {
    const auto doc = document(inputs, rows);
    if (!doc) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(doc->title));
    // A4 portrait with 15 mm margins is offered; the paper and orientation chosen in the
    // dialog are what the pages are laid out on.
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    if (!services_.printDialog(printer)) return;
    output::paintTableDocument(printer, *doc);
    if (printer.printerState() == QPrinter::Error) throw IoError("打印失败");
}

void addTableDocumentButtons(TFrmMain& window, QWidget* bar) {
    auto* exportButton = new QPushButton(QStringLiteral("导出PDF…"), bar);
    exportButton->setObjectName(QStringLiteral("ExportPdfButton"));
    auto* printButton = new QPushButton(QStringLiteral("打印…"), bar);
    printButton->setObjectName(QStringLiteral("PrintButton"));
    if (auto* layout = qobject_cast<QBoxLayout*>(bar->layout())) {
        layout->addWidget(exportButton);
        layout->addWidget(printButton);
    }
    QObject::connect(exportButton, &QPushButton::clicked, bar, [&window] {
        window.runHandler(
            [&window] { TableDocumentActions(window.services()).exportPdf(window, window.rows()); });
    });
    QObject::connect(printButton, &QPushButton::clicked, bar, [&window] {
        window.runHandler(
            [&window] { TableDocumentActions(window.services()).print(window, window.rows()); });
    });
}

} // namespace kelvora::ui
