#include "ui/window_services.h"

#include "kernel/errors.h"
#include "output/snapshot.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QPushButton>
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

std::optional<std::string> QtWindowServices::openDialog(const std::vector<std::string>& filters) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList names;
    for (const auto& f : filters) names << q(f);
    dialog.setNameFilters(names);
    dialog.setDirectory(lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen.toStdString();
}

SaveChanges QtWindowServices::askSaveChanges(const std::string& fileName) {
    QMessageBox box(QMessageBox::Question, q(applicationTitle()),
                    QStringLiteral("“%1”已修改，是否保存？").arg(q(fileName)), QMessageBox::NoButton, parent_);
    QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChanges::Save;
    if (box.clickedButton() == discard) return SaveChanges::Discard;
    return SaveChanges::Cancel;
}

bool QtWindowServices::askCloseAnyway(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, q(applicationTitle()), q(text), QMessageBox::NoButton, parent_);
    QPushButton* close = box.addButton(QStringLiteral("关闭"), QMessageBox::DestructiveRole);
    QPushButton* stay = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(stay);
    box.setEscapeButton(stay);
    box.exec();
    return box.clickedButton() == close;
}

std::optional<int> QtWindowServices::askNumber(const std::string& label, int value, int min, int max) {
    bool ok = false;
    const int n = QInputDialog::getInt(parent_, q(applicationTitle()), q(label), value, min, max, 1, &ok);
    if (!ok) return std::nullopt;
    return n;
}

bool QtWindowServices::askYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::Question, q(applicationTitle()), q(question),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtWindowServices::openDocument(const std::string& path) { return output::openWithDesktop(path); }

void QtWindowServices::setClipboardImage(const QImage& image) { QApplication::clipboard()->setImage(image); }

QImage QtWindowServices::clipboardImage() { return QApplication::clipboard()->image(); }

bool QtWindowServices::printDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kelvora::ui
