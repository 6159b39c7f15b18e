#pragma once
// Takes a result out of its field as soon as an input it was made from changes, whether
// typed, clicked or set by the program, so that a result never stands beside inputs it
// was not made from (capacity/result_inputs). A load that restores the inputs together
// with the results made from them holds it off.

#include <QObject>

#include <functional>
#include <string_view>

namespace kelvora::ui {

class TFrmMain;

// Calls changed(name) whenever an input of `window` (one of the 72 or a page's input)
// changes, typed, clicked or set by the program, and changed(kStructureTabsInput) when
// another structure page is chosen; connected for the life of `receiver`.
void onInputChanges(TFrmMain& window, QObject* receiver, const std::function<void(std::string_view)>& changed);

class StaleResults : public QObject {
public:
    // Watches every input of `window`; the window owns the watcher.
    explicit StaleResults(TFrmMain& window);

    // While a hold lives, changes clear nothing.
    class Hold {
    public:
        explicit Hold(int& holds) : holds_(holds) { ++holds_; }
        ~Hold() { --holds_; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        int& holds_;
    };
    [[nodiscard]] Hold hold() { return Hold(holds_); }

private:
    void changed(std::string_view input);

    TFrmMain& window_;
    int holds_ = 0;
};

} // namespace kelvora::ui
