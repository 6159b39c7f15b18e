// What the application sets up before the window: Qt's own texts in Chinese.

#include "ui/application.h"

#include <QDialogButtonBox>
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
};

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
