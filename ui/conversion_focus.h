#pragma once
// After a request stopped on a text that is not a number ("'…' is not a valid floating
// point value."), the field the text came from takes the focus with its text selected, so
// that the user types the number over it. The field is the input the request read last
// whose text converts to the same message; failing that, a cell of the calibration grid
// with such a text becomes the grid's current cell.

#include <string>
#include <vector>

namespace kelvora::ui {

class TFrmMain;

// `read`: the names of the inputs the request read, in order; `message`: the conversion
// error's text. Nothing happens when no input or cell gives that message.
void focusUnconvertedInput(TFrmMain& window, const std::vector<std::string>& read,
                           const std::string& message);

} // namespace kelvora::ui
