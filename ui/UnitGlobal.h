#pragma once
// The global unit: the hidden form Global and the path of the settings file.

#include <QWidget>

#include <string>

namespace kelvora::ui {

// Full path of Config.ini; empty until the window's first activation sets it.
extern std::string ConfigPath;

// A form without controls, created at start-up and never shown.
class TGlobal : public QWidget {
public:
    explicit TGlobal(QWidget* parent = nullptr);
};

} // namespace kelvora::ui
