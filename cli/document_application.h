#pragma once
// Qt's GUI part, started only for a document: on the offscreen platform, so no display is
// needed, with Qt's own warnings kept off standard error, and with the same bytes for the
// same document at every run.

#include <QByteArray>
#include <QGuiApplication>
#include <QHashSeed>

#include <memory>

namespace kelvora::cli {

inline void discardQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

class DocumentApplication {
public:
    explicit DocumentApplication(bool needed = true) {
        if (!needed || QGuiApplication::instance()) return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The PDF writer embeds its fonts in the order of a hash table; with Qt's random
        // seed the same table would give other bytes at every run.
        QHashSeed::setDeterministicGlobalSeed();
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
