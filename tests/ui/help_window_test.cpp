// "帮助" shows the help's pages in the window's own help window: the contents of the
// compiled help beside the page, the links followed inside; help.chm and the desktop's
// viewer only when the pages are missing. The built pages all open, with their pictures.

#include "ui/Unit1.h"
#include "ui/help_window.h"

#include "recording_services.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::HelpWindow;
using kelvora::ui::TFrmMain;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const char* const kContents = R"(<HTML><BODY><UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="概述"><param name="Local" value="index.html"></OBJECT>
<LI><OBJECT type="text/sitemap"><param name="Name" value="生成容积表"><param name="Local" value="table.html"></OBJECT>
<UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="罐底死量"><param name="Local" value="table.html#dead"></OBJECT>
</UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="提示信息"><param name="Local" value="messages.html"></OBJECT>
</UL></BODY></HTML>)";

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;
    QTemporaryDir dir;

    void click(const char* button) { window->findChild<QPushButton*>(QLatin1String(button))->click(); }

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void contentsOfTheCompiledHelp() {
        struct Case {
            const char* hhc;
            QStringList topics; // "depth name page"
        };
        const Case cases[] = {
            {kContents,
             {"0 概述 index.html", "0 生成容积表 table.html", "1 罐底死量 table.html#dead",
              "0 提示信息 messages.html"}},
            {"", {}},
            {"<ul><li><object type=\"text/sitemap\"><param name=\"Local\" value=\"a.html\"></object></ul>",
             {}},
            {"<UL><LI><OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"甲\">\n"
             "<param name=\"Local\" value=\"a.html\">\n</OBJECT></UL>",
             {"0 甲 a.html"}},
        };
        for (const auto& c : cases) {
            QStringList topics;
            for (const auto& t : kelvora::ui::readHelpContents(QString::fromUtf8(c.hhc)))
                topics << QStringLiteral("%1 %2 %3").arg(t.depth).arg(t.name, t.page);
            QCOMPARE(topics, c.topics);
        }
    }

    void helpOpensInTheWindowsOwnBrowser() {
        const QString help = dir.filePath(QStringLiteral("help"));
        write(help + QStringLiteral("/help.hhc"), kContents);
        write(help + QStringLiteral("/index.html"),
              "<html><head><meta charset=\"utf-8\"><title>概述</title></head><body>"
              "<a href=\"table.html\">生成容积表</a></body></html>");
        write(help + QStringLiteral("/table.html"),
              "<html><head><meta charset=\"utf-8\"><title>生成容积表</title></head><body><p>液位</p>"
              "<a name=\"dead\"></a><p>罐底死量</p></body></html>");
        write(help + QStringLiteral("/messages.html"), "<html><head><title>提示信息</title></head></html>");
        kelvora::ui::ProgramDir = dir.path().toStdString();
        click("Button4");
        QVERIFY(services->shown.empty());
        QVERIFY(services->opened.empty());
        auto* shown = dynamic_cast<HelpWindow*>(window->findChild<QWidget*>(QStringLiteral("HelpWindow")));
        QVERIFY(shown);
        QVERIFY(shown->isVisible());
        QVERIFY(shown->isWindow());
        QTextBrowser* browser = shown->browser();
        QCOMPARE(browser->source(), QUrl::fromLocalFile(help + QStringLiteral("/index.html")));
        QCOMPARE(browser->documentTitle(), QStringLiteral("概述"));
        QCOMPARE(shown->windowTitle(), QStringLiteral("概述"));
        QCOMPARE(shown->contents()->topLevelItemCount(), 3);
        QTreeWidgetItem* dead = shown->contents()->topLevelItem(1)->child(0);
        QCOMPARE(dead->text(0), QStringLiteral("罐底死量"));
        emit shown->contents()->itemActivated(dead, 0);
        QCOMPARE(browser->source().fileName(), QStringLiteral("table.html"));
        QCOMPARE(browser->source().fragment(), QStringLiteral("dead"));
        QCOMPARE(browser->documentTitle(), QStringLiteral("生成容积表"));
        // 后退 and 首页.
        shown->findChild<QPushButton*>(QStringLiteral("HelpBack"))->click();
        QCOMPARE(browser->documentTitle(), QStringLiteral("概述"));
        emit shown->contents()->itemActivated(shown->contents()->topLevelItem(2), 0);
        shown->findChild<QPushButton*>(QStringLiteral("HelpHome"))->click();
        QCOMPARE(browser->documentTitle(), QStringLiteral("概述"));

        // A second "帮助" brings the same window back.
        shown->close();
        click("Button4");
        QCOMPARE(window->findChildren<QWidget*>(QStringLiteral("HelpWindow")).size(), 1);
        QVERIFY(shown->isVisible());
        QVERIFY(services->opened.empty());
    }

    // Without the pages, help.chm with the desktop's viewer as before.
    void withoutThePagesTheCompiledHelp() {
        write(dir.filePath(QStringLiteral("help.chm")), "x");
        QDir(dir.filePath(QStringLiteral("help"))).removeRecursively();
        kelvora::ui::ProgramDir = dir.path().toStdString();
        click("Button4");
        QCOMPARE(services->opened,
                 std::vector<std::string>{dir.filePath(QStringLiteral("help.chm")).toStdString()});
        QVERIFY(!window->findChild<QWidget*>(QStringLiteral("HelpWindow")));
    }

    // Every page of the built help's contents opens with a title, and every picture on it loads.
    void theBuiltPagesAllOpen() {
        const QString built = QStringLiteral(KELVORA_HELP_PAGES);
        if (!QFile::exists(built + QStringLiteral("/index.html"))) QSKIP("the help is not built");
        HelpWindow help(nullptr);
        help.showPages(built + QStringLiteral("/index.html"));
        QVERIFY(help.contents()->topLevelItemCount() >= 10);
        int pictures = 0;
        for (QTreeWidgetItemIterator it(help.contents()); *it; ++it) {
            emit help.contents()->itemActivated(*it, 0);
            QTextDocument* page = help.browser()->document();
            QVERIFY2(!help.browser()->documentTitle().isEmpty(), qPrintable((*it)->text(0)));
            for (QTextBlock block = page->begin(); block != page->end(); block = block.next())
                for (auto f = block.begin(); !f.atEnd(); ++f) {
                    const QTextCharFormat format = f.fragment().charFormat();
                    if (!format.isImageFormat()) continue;
                    const QString name = format.toImageFormat().name();
                    const QVariant image = help.browser()->loadResource(
                        QTextDocument::ImageResource, help.browser()->source().resolved(QUrl(name)));
                    QVERIFY2(image.isValid() && !image.isNull(), qPrintable(name));
                    ++pictures;
                }
        }
        QVERIFY(pictures > 0);
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
