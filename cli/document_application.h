#pragma once
// Qt's GUI part, started only for a document: on the offscreen platform, so no display is
// needed, and with Qt's own warnings kept off standard error.

#include <QByteArray>
#include <QGuiApplication>

#include <memory>

namespace kelvora::cli {

inline void discardQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

class DocumentApplication {
public:
    explicit DocumentApplication(bool needed = true) {
        if (!needed || QGuiApplication::instance()) return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(discardQtMessage);
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }

private:
    inline static char name_[] = "kelvora-table";
    inline static char* argv_[] = {name_, nullptr};
    inline static int argc_ = 1;
    std::unique_ptr<QGuiApplication> app_;
};

} // namespace kelvora::cli
