// "打印" and "帮助": the window's own picture on the clipboard and in a BMP file, and the
// help file's message.

#include "ui/Unit1.h"

#include "recording_services.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class SnapshotTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;
    QTemporaryDir dir;

    void click(const char* button) {
        QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }

    // Width and height from a BMP file's header.
    static QSize bitmapSize(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        const QByteArray bytes = file.readAll();
        if (bytes.size() < 26 || !bytes.startsWith("BM")) return {};
        const auto width = qFromLittleEndian<qint32>(bytes.constData() + 18);
        const auto height = qFromLittleEndian<qint32>(bytes.constData() + 22);
        return {width, height < 0 ? -height : height};
    }

private slots:
    void init() {
        window = kelvora::test::recordedWindow(services);
        window->resize(1100, 720);
    }
    void cleanup() { window.reset(); }

    // "打印" saves the window's picture and says so; the 容积表 page's "打印…" prints the table.
    void printButtonsSayWhatTheyDo() {
        const std::pair<const char*, const char*> tips[] = {{"Button3", "保存窗口截图"}, {"PrintButton", ""}};
        for (auto [name, tip] : tips) {
            auto* button = window->findChild<QPushButton*>(QLatin1String(name));
            QVERIFY2(button, name);
            QCOMPARE(button->toolTip(), QString::fromUtf8(tip));
        }
    }

    void snapshotIsABitmapOfTheWindowAtItsSize() {
        const QString first = dir.filePath(QStringLiteral("打印窗体.bmp"));
        services->dialogAnswers.push_back(first.toStdString());
        click("Button3");
        QCOMPARE(services->dialogs.at(0).defaultExtension, std::string("bmp"));
        QCOMPARE(services->dialogs.at(0).filters, std::vector<std::string>{"*.bmp"});
        QCOMPARE(services->dialogs.at(0).fileName, std::string("打印窗体"));
        QCOMPARE(bitmapSize(first), QSize(1100, 720));
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("information"));
        QCOMPARE(services->shown[0].text, std::string("打印的窗体保存到您指定的图形文件，您可打开该文件进行打印！"));

        window->resize(900, 640);
        const QString second = dir.filePath(QStringLiteral("shot.png"));
        services->dialogAnswers.push_back(second.toStdString());
        click("Button3");
        QCOMPARE(bitmapSize(second), QSize(900, 640)); // BMP whatever the extension
    }

    void cancelledDialogStillLeavesTheSnapshotOnTheClipboard() {
        click("Button3");
        QCOMPARE(services->clipboard.size(), QSize(1100, 720));
        QVERIFY(services->shown.empty());
    }

    void failedSaveIsAnErrorReport() {
        services->dialogAnswers.push_back(std::string("/nonexistent-dir/shot.bmp"));
        click("Button3");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("error"));
        QVERIFY(!services->clipboard.isNull());
    }

    void helpMessageWhenTheFileIsMissingOrTheViewerFails() {
        kelvora::ui::ProgramDir = dir.path().toStdString();
        click("Button4");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("message"));
        QCOMPARE(services->shown[0].text, std::string(" help.chm 帮助文件损坏！"));
        QVERIFY(services->opened.empty());

        QFile help(dir.filePath(QStringLiteral("help.chm")));
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.close();
        services->openSucceeds = false;
        click("Button4");
        QCOMPARE(services->shown.size(), std::size_t(2));
        QCOMPARE(services->opened.back(), dir.filePath(QStringLiteral("help.chm")).toStdString());
        services->openSucceeds = true;
        click("Button4");
        QCOMPARE(services->shown.size(), std::size_t(2));
    }
};

QTEST_MAIN(SnapshotTest)
#include "snapshot_test.moc"
