#include "ui/window_services.h"

#include "kernel/errors.h"
#include "output/snapshot.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>

namespace kelvora::ui {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

void WindowServices::errorReport(const std::string& text) { errorBox(errorReportText(text)); }

std::string applicationTitle() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

void QtWindowServices::messageBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, q(applicationTitle()), q(text), QMessageBox::Ok, parent_);
    box.exec();
}

void QtWindowServices::informationBox(const std::string& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), q(text), QMessageBox::Ok, parent_);
    box.exec();
}

void QtWindowServices::errorBox(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, q(applicationTitle()), q(text), QMessageBox::Ok, parent_);
    box.exec();
}

std::optional<std::string> QtWindowServices::openDialog(const std::vector<std::string>& filters) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList names;
    for (const auto& f : filters) names << q(f);
    dialog.setNameFilters(names);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtWindowServices::saveDialog(const SaveDialogRequest& request) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const auto& f : request.filters) filters << q(f);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(q(request.defaultExtension));
    // The default extension follows the chosen filter ("*.xlsx" proposes "xlsx").
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QString suffix = filter.section(QLatin1String("*."), 1).section(QLatin1Char(')'), 0, 0).trimmed();
        if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    });
    // Both dialogs open where the last one saved during this run, the working directory
    // the first time.
    dialog.setDirectory(lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_);
    dialog.selectFile(q(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen.toStdString();
}

bool QtWindowServices::openDocument(const std::string& path) { return output::openWithDesktop(path); }

void QtWindowServices::setClipboardImage(const QImage& image) { QApplication::clipboard()->setImage(image); }

QImage QtWindowServices::clipboardImage() { return QApplication::clipboard()->image(); }

bool QtWindowServices::printDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kelvora::ui
