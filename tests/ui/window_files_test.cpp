// The window loses nothing of its own files: the recent tank files come back after a
// restart started in another working directory, settings that cannot be saved at the
// close are named and the window may stay open, and a tank file that leaves inputs out
// says which.

#include "ui/Unit1.h"
#include "ui/tank_file_menu.h"

#include "recording_services.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <unistd.h>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class WindowFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir data, elsewhere;
    RecordingServices* services = nullptr;

    std::string path(const char* name) const { return data.filePath(QString::fromUtf8(name)).toStdString(); }

    // A start of the program as a new process makes it: nothing known of the executable's
    // folder until the window itself asks, the data folder then being `data`.
    std::unique_ptr<TFrmMain> start() {
        kelvora::ui::ProgramDir.clear();
        auto window = kelvora::test::recordedWindow(services);
        kelvora::ui::ProgramDir = data.path().toStdString();
        window->FormActivate();
        return window;
    }

    static void trigger(TFrmMain& window, const char* action) {
        auto* a = window.findChild<QAction*>(QLatin1String(action));
        QVERIFY2(a, action);
        a->trigger();
    }

private slots:
    void recentFilesAfterARestartElsewhere() {
        const std::filesystem::path before = std::filesystem::current_path();
        {
            auto window = start();
            window->setText("TankNumber", "T-1");
            services->dialogAnswers.push_back(path("one.tank"));
            trigger(*window, "SaveTankAsAction");
            window->setText("TankNumber", "T-2");
            services->dialogAnswers.push_back(path("two.tank"));
            trigger(*window, "SaveTankAsAction");
            QVERIFY(window->close());
        }
        const std::vector<std::string> both{path("two.tank"), path("one.tank")};
        for (const QTemporaryDir* cwd : {&elsewhere, &data}) {
            std::filesystem::current_path(cwd->path().toStdString());
            auto window = start();
            QVERIFY(window->tankFileMenu().recentFiles() == both);
            QVERIFY(window->close());
        }
        // Opening a file after such a restart adds to the list instead of replacing it.
        std::filesystem::current_path(elsewhere.path().toStdString());
        {
            auto window = start();
            window->tankFileMenu().openFile(path("one.tank"));
            QVERIFY(window->close());
        }
        auto window = start();
        QVERIFY(window->tankFileMenu().recentFiles() ==
                (std::vector<std::string>{path("one.tank"), path("two.tank")}));
        std::filesystem::current_path(before);
    }

    void settingsThatCannotBeSavedAreNamed() {
        struct Case {
            bool closeAnyway;
            bool closed;
        };
        const Case cases[] = {{false, false}, {true, true}};
        QFile::remove(data.filePath(QStringLiteral("Config.ini")));
        QVERIFY(QDir(data.path()).mkpath(QStringLiteral("Config.ini"))); // a folder: no file can replace it
        for (const auto& c : cases) {
            auto window = start();
            window->setText("Edit1", "2600");
            services->closeAnyway = c.closeAnyway;
            QCOMPARE(window->close(), c.closed);
            QCOMPARE(services->closeAnywayAsked.size(), std::size_t{1});
            const std::string& text = services->closeAnywayAsked.front();
            QVERIFY2(text.find(path("Config.ini")) != std::string::npos, text.c_str());
            QVERIFY2(text.find("文件夹") != std::string::npos, text.c_str());
        }
        QVERIFY(QDir(data.filePath(QStringLiteral("Config.ini"))).removeRecursively());
        auto window = start();
        QVERIFY(window->close());
        QVERIFY(services->closeAnywayAsked.empty());
    }

    void tankFileLeavingInputsOutSaysWhich() {
        struct Case {
            QByteArray bytes;
            const char* named; // among the inputs left out
            const char* given; // given by the file: not named
        };
        const Case cases[] = {
            {"structure = horizontal\nD = 2000\n", "tank_number", "、D、"},
            {"D = 2000\ntank_number = 7\n", "L、", "tank_number"},
        };
        for (const auto& c : cases) {
            QFile file(QString::fromStdString(path("short.tank")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
            file.close();
            auto window = start();
            window->tankFileMenu().openFile(path("short.tank"));
            QCOMPARE(window->text("Edit1"), std::string("2000"));
            QCOMPARE(services->shown.size(), std::size_t{1});
            const std::string& text = services->shown.front().text;
            QVERIFY2(text.starts_with("罐文件没有给出，按默认值："), text.c_str());
            QVERIFY2(text.find(c.named) != std::string::npos, text.c_str());
            QVERIFY2(text.find(c.given) == std::string::npos, text.c_str());
        }
        // A file the window saved names every input: nothing to say.
        auto window = start();
        services->dialogAnswers.push_back(path("whole.tank"));
        trigger(*window, "SaveTankAsAction");
        window = start();
        window->tankFileMenu().openFile(path("whole.tank"));
        QVERIFY2(services->shown.empty(),
                 services->shown.empty() ? "" : services->shown.front().text.c_str());
    }
};

QTEST_MAIN(WindowFilesTest)
#include "window_files_test.moc"
