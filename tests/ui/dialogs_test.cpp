// The desktop's own save dialogs: both open in the folder last saved to during the run,
// the working directory the first time, whatever folder Qt itself remembers from
// elsewhere.

#include "ui/window_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class DialogsTest : public QObject {
    Q_OBJECT

    // Answers the next modal file dialog: notes the folder it opened in into `opened`, then
    // saves as "t" in `folder`.
    void answerNextDialog(const QString& folder, QString& opened) {
        QTimer::singleShot(0, this, [this, folder, &opened] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return answerNextDialog(folder, opened); // not up yet
            opened = dialog->directory().absolutePath();
            dialog->setDirectory(folder);
            dialog->selectFile(QDir(folder).filePath(QStringLiteral("t")));
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); } // Qt's own remembered folder

    void saveDialogsOpenInTheFolderLastSavedTo() {
        QTemporaryDir elsewhere, first, second;
        QWidget parent;
        // A file dialog that is not ours saves elsewhere: Qt remembers that folder for the
        // next dialog of the process, and across runs.
        QString opened;
        {
            QFileDialog foreign(&parent);
            foreign.setAcceptMode(QFileDialog::AcceptSave);
            answerNextDialog(elsewhere.path(), opened);
            QCOMPARE(foreign.exec(), int(QDialog::Accepted));
        }
        kelvora::ui::QtWindowServices services(&parent);
        struct Step {
            QString saveIn;
            const char* extension;
            QString expectOpenedIn;
        };
        const Step steps[] = {
            {first.path(), "xls", QDir::currentPath()},
            {second.path(), "bmp", first.path()},
            {second.path(), "xls", second.path()},
        };
        for (const auto& step : steps) {
            answerNextDialog(step.saveIn, opened);
            const auto chosen = services.saveDialog({step.extension, {std::string("*.") + step.extension}, "t"});
            QVERIFY(chosen);
            QCOMPARE(opened, QDir(step.expectOpenedIn).absolutePath());
            QCOMPARE(QFileInfo(QString::fromStdString(*chosen)).absolutePath(), QDir(step.saveIn).absolutePath());
        }
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
