#pragma once
// A WindowServices double: records every box and answers the dialogs as told.

#include "ui/Unit1.h"
#include "ui/window_services.h"

#include <QPrinter>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvora::test {

class RecordingServices : public ui::WindowServices {
public:
    struct Shown {
        std::string kind; // "message", "information", "error"
        std::string text;
    };
    std::vector<Shown> shown;
    std::vector<ui::SaveDialogRequest> dialogs;
    std::deque<std::optional<std::string>> dialogAnswers; // empty: cancel
    std::vector<std::string> opened;
    std::deque<ui::SaveChanges> saveChangesAnswers;         // empty: cancel
    std::vector<std::string> saveChangesAsked;              // the file names asked about
    std::optional<int> numberAnswer;                        // unset: cancel
    std::vector<std::string> closeAnywayAsked;              // the texts of askCloseAnyway
    bool closeAnyway = true;
    bool openSucceeds = true;
    QImage clipboard;
    // Answers the print dialog: adjusts the printer (a PDF file in the tests) and says
    // whether the user printed; unset: cancel.
    std::function<bool(QPrinter&)> printAnswer;
    int printDialogs = 0;

    void messageBox(const std::string& text) override { shown.push_back({"message", text}); }
    void informationBox(const std::string& text) override { shown.push_back({"information", text}); }
    void errorBox(const std::string& text) override { shown.push_back({"error", text}); }
    std::optional<std::string> saveDialog(const ui::SaveDialogRequest& request) override {
        dialogs.push_back(request);
        if (dialogAnswers.empty()) return std::nullopt;
        auto answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        return answer;
    }
    // Answers the open dialog: the next answer, or cancel when none is left.
    std::deque<std::string> openAnswers;
    std::optional<std::string> openDialog(const std::vector<std::string>&) override {
        if (openAnswers.empty()) return std::nullopt;
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    bool askCloseAnyway(const std::string& text) override {
        closeAnywayAsked.push_back(text);
        return closeAnyway;
    }
    ui::SaveChanges askSaveChanges(const std::string& fileName) override {
        saveChangesAsked.push_back(fileName);
        if (saveChangesAnswers.empty()) return ui::SaveChanges::Cancel;
        const auto answer = saveChangesAnswers.front();
        saveChangesAnswers.pop_front();
        return answer;
    }
    std::optional<int> askNumber(const std::string&, int, int, int) override { return numberAnswer; }
    // Answers a yes/no question with yesNoAnswer; every question asked is kept.
    std::vector<std::string> questions;
    bool yesNoAnswer = false;
    bool askYesNo(const std::string& question) override {
        questions.push_back(question);
        return yesNoAnswer;
    }
    bool openDocument(const std::string& path) override {
        opened.push_back(path);
        return openSucceeds;
    }
    void setClipboardImage(const QImage& image) override { clipboard = image; }
    QImage clipboardImage() override { return clipboard; }
    bool printDialog(QPrinter& printer) override {
        ++printDialogs;
        return printAnswer && printAnswer(printer);
    }
};

// A window whose boxes and dialogs go to a RecordingServices; `services` is set to it.
inline std::unique_ptr<ui::TFrmMain> recordedWindow(RecordingServices*& services) {
    auto recording = std::make_unique<RecordingServices>();
    services = recording.get();
    return std::make_unique<ui::TFrmMain>(std::move(recording));
}

} // namespace kelvora::test
