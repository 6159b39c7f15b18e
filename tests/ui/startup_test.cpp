// Start-up and shutdown: what a user finds after a first run, after a restart, and where
// the files live.

#include "ui/Unit1.h"

#include "recording_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class StartupTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    RecordingServices* services = nullptr;

    std::unique_ptr<TFrmMain> start() {
        auto recording = std::make_unique<RecordingServices>();
        services = recording.get();
        auto window = std::make_unique<TFrmMain>(std::move(recording));
        kelvora::ui::ProgramDir = dir.path().toStdString();
        window->FormActivate();
        return window;
    }

private slots:
    void firstRunThenRestart() {
        {
            auto window = start();
            for (auto name : {"Edit1", "Edit36", "Edit6"}) QCOMPARE(window->text(name), std::string());
            for (auto name : {"RadioButton1", "RadioButton8", "RadioButton15", "CheckBox1"}) QVERIFY(!window->checked(name));
            QCOMPARE(window->text("ComboBox1"), std::string());
            QCOMPARE(window->text("ComboBox2"), std::string("8"));
            QCOMPARE(window->itemIndex("ComboBox3"), 0);
            QCOMPARE(window->itemIndex("ComboBox4"), 0);
            QCOMPARE(window->grid().rowCount(), 9);
            QCOMPARE(window->grid().cell(0, 8), std::string("8"));
            QCOMPARE(window->grid().cell(1, 0), std::string("高度 mm"));
            QVERIFY(window->findChild<QWidget*>(QStringLiteral("Edit37"))->isHidden());
            QVERIFY(!window->findChild<QWidget*>(QStringLiteral("Label47"))->isHidden());
            QCOMPARE(window->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentIndex(), 0);

            window->setText("Edit1", "2600");
            window->setText("Edit37", " 850 ");
            window->setText("ComboBox1", "g/cm^3");
            window->setChecked("RadioButton2", true);
            window->setChecked("RadioButton5", true);
            window->setChecked("CheckBox1", true);
            window->setItemIndex("ComboBox3", 1);
            window->setText("ComboBox2", "20");
            window->ComboBox2Change();
            for (int r = 1; r <= 20; ++r) {
                window->grid().setCell(1, r, std::to_string(r * 100));
                window->grid().setCell(2, r, std::to_string(r * 7) + ".5");
            }
            window->close();
        }
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Config.ini"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("bd.txt"))));

        auto window = start();
        QCOMPARE(window->text("Edit1"), std::string("2600"));
        QCOMPARE(window->text("Edit2"), std::string("0")); // empty fields come back as "0"
        QCOMPARE(window->text("Edit37"), std::string("850")); // blanks around a value are not kept
        QCOMPARE(window->text("ComboBox1"), std::string("g/cm^3"));
        QVERIFY(window->checked("RadioButton2") && !window->checked("RadioButton1"));
        QVERIFY(window->checked("RadioButton5") && !window->checked("RadioButton15"));
        QVERIFY(window->checked("CheckBox1"));
        QVERIFY(!window->findChild<QWidget*>(QStringLiteral("Edit37"))->isHidden());
        QCOMPARE(window->itemIndex("ComboBox3"), 1); // the head choices and the count as left
        QCOMPARE(window->itemIndex("ComboBox4"), 0);
        QCOMPARE(window->text("ComboBox2"), std::string("20"));
        QCOMPARE(window->grid().rowCount(), 21);
        QCOMPARE(window->findChild<QTableView*>(QStringLiteral("StringGrid1"))->model()->rowCount(), 21);
        QCOMPARE(window->grid().cell(1, 20), std::string("2000"));
        QCOMPARE(window->grid().cell(2, 9), std::string("63.5"));
        QVERIFY(services->shown.empty()); // " 850 " is a number
    }

    // Opening and closing loses no point: twenty stored at the count 20 or at the count 8
    // (hidden) are all in bd.txt afterwards.
    void openAndCloseKeepsEveryPoint() {
        for (const char* count : {"20", "8"}) {
            {
                auto window = start();
                window->setText("ComboBox2", "20");
                window->ComboBox2Change();
                for (int r = 1; r <= 20; ++r) window->grid().setCell(1, r, std::to_string(r * 100));
                window->setText("ComboBox2", count);
                window->ComboBox2Change();
                window->close();
            }
            for (int run = 0; run < 2; ++run) start()->close();
            auto window = start();
            QCOMPARE(window->text("ComboBox2"), std::string(count));
            QCOMPARE(window->grid().cell(1, 20), std::string("2000"));
        }
    }

    // A bd.txt that cannot be read is said once at start-up and left as it is at the close;
    // a missing one is no message.
    void unreadableCalibrationFileIsKept() {
        const QString path = dir.filePath(QStringLiteral("bd.txt"));
        const QByteArray damaged("\x8F\x01\xFEpoints\r\n", 11);
        for (bool present : {true, false}) {
            QFile::remove(path);
            if (present) {
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(damaged);
            }
            auto window = start();
            window->show();
            QCoreApplication::processEvents(); // a later activation shows nothing again
            window->FormActivate();
            QCOMPARE(services->shown.size(), present ? 1u : 0u);
            if (present) QVERIFY(services->shown[0].text.find("bd.txt") != std::string::npos);
            window->close();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            if (present) QCOMPARE(file.readAll(), damaged);
        }
    }

    // A settings file too large to load back is kept aside with a message at the close, and
    // the inputs are there at the next start.
    void oversizedSettingsFileIsKeptAside() {
        const QString path = dir.filePath(QStringLiteral("Config.ini"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[FrmMainPro]\r\n");
            file.write(QByteArray(8 << 20, ';'));
        }
        {
            auto window = start();
            window->setText("Edit1", "2600");
            window->close();
            QCOMPARE(services->shown.size(), 1u);
            QVERIFY(services->shown[0].text.find("Config.ini.bak") != std::string::npos);
        }
        QVERIFY(QFile::exists(path + QStringLiteral(".bak")));
        QCOMPARE(start()->text("Edit1"), std::string("2600"));
        QFile::remove(path + QStringLiteral(".bak"));
    }

    void activationStepsRunOnce() {
        auto window = start();
        window->setText("Edit1", "123");
        window->FormActivate();
        QCOMPARE(window->text("Edit1"), std::string("123"));
    }

    void unwritableProgramDirectoryUsesTheUsersOwn() {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        auto recording = std::make_unique<RecordingServices>();
        auto window = std::make_unique<TFrmMain>(std::move(recording));
        kelvora::ui::ProgramDir = "/dev/null/kelvora"; // no directory can be made under a device
        window->FormActivate();
        window->setText("Edit1", "3100");
        window->close();
        const QString own = QString::fromStdString(window->dataDir());
        QVERIFY(own.startsWith(config.path()));
        QVERIFY(QFile::exists(own + QStringLiteral("/Config.ini")));
        QVERIFY(QFile::exists(own + QStringLiteral("/bd.txt")));
        window.reset();
        auto again = std::make_unique<TFrmMain>(std::make_unique<RecordingServices>());
        kelvora::ui::ProgramDir = "/dev/null/kelvora";
        again->FormActivate();
        QCOMPARE(again->text("Edit1"), std::string("3100"));
        qunsetenv("XDG_CONFIG_HOME");
    }

    void filesLiveBesideTheExecutableWhateverTheWorkingDirectory() {
        QTemporaryDir elsewhere;
        const QString before = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        TFrmMain window(std::make_unique<RecordingServices>());
        QCOMPARE(QString::fromStdString(kelvora::ui::ProgramDir), QCoreApplication::applicationDirPath());
        QDir::setCurrent(before);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
