// What the application sets up before the window: Qt's own texts in Chinese and the faces
// behind the font names the window asks for.

#include "ui/application.h"

#include <QDialogButtonBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPushButton>
#include <QtTest>

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void qtTextsAreChinese() {
        QVERIFY(kelvora::ui::installQtTranslation(*QCoreApplication::instance()));
        QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
        QVERIFY(buttons.button(QDialogButtonBox::Save)->text().contains(QStringLiteral("保存")));
        QVERIFY(buttons.button(QDialogButtonBox::Cancel)->text().contains(QStringLiteral("取消")));
        QVERIFY(buttons.button(QDialogButtonBox::Ok)->text().contains(QStringLiteral("确定")));
    }

    // Both names land on Noto CJK, whose Latin letters and digits read as they should, and
    // the face has the Chinese characters of the captions.
    void windowFontNamesResolveToNotoCjk() {
        kelvora::ui::installFontSubstitutes();
        const std::pair<const char*, const char*> names[] = {{"宋体", "Noto Serif CJK SC"},
                                                             {"SimSun", "Noto Serif CJK SC"},
                                                             {"MS Sans Serif", "Noto Sans CJK SC"}};
        for (auto [asked, face] : names) {
            QFont font(QString::fromUtf8(asked));
            font.setPixelSize(15);
            QCOMPARE(QFontInfo(font).family(), QString::fromLatin1(face));
            QVERIFY(QFontMetricsF(font).inFontUcs4(QStringLiteral("罐").toUcs4().front()));
        }
    }
};

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
