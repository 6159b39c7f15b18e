#pragma once
// How a person names one input: the readable name and the caption of the vocabulary
// ("step", "液位间隔" for Edit8), the head dimensions by the side and shape that own them
// ("left.h", "左封头h" for Edit21), and the page's own fields by their labels.

#include <string>
#include <string_view>

namespace kelvora::capacity {

// The readable name standing for `component`, "" when it has none.
std::string readableNameOf(std::string_view component);

// The caption a person reads for `component`; its label (without a colon) for an input
// the vocabulary does not cover, "" for no input at all.
std::string captionOf(std::string_view component);

// "Edit8（液位间隔）", "step（液位间隔）", "point 3（标定点）": `given` is the name the input
// was given by (a component or readable name), `component` the input itself, `pointRow`
// a calibration point's row from 1 (0 for a field).
std::string inputNamedAs(std::string_view given, std::string_view component, int pointRow = 0);

} // namespace kelvora::capacity
