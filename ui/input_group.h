#pragma once
// A group of the "容积表" page's inputs laid out in rows of label, field and unit, each
// field taken from the page's input table (label, tooltip, key filter, length limit).

#include <functional>
#include <span>
#include <string_view>

class QGroupBox;
class QString;
class QWidget;

namespace kelvora::ui {

// One field per name, `perRow` to a row; each field is handed to `registerInput` with its
// component name. The unit shown after a field is the first part of its tooltip ("毫米").
QGroupBox* buildInputGroup(QWidget* parent, const QString& title, std::span<const std::string_view> names, int perRow,
                           const std::function<void(QWidget*, const char*)>& registerInput);

} // namespace kelvora::ui
