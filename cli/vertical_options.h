#pragma once
// The batch tool's options of the vertical tank ("立式圆筒", --page 4): the repeated
// --course, --bottom-point and --deadwood, each list replacing the one of a tank file or
// of NAME=VALUE, and the two tables beside the rows, --hydrostatic and --fractions.

#include "capacity/named_inputs.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::cli {

struct VerticalOptions {
    std::vector<std::string> courses, bottom, deadwood; // as given, one entry each
    bool hydrostatic = false;
    bool fractions = false;
    bool table() const { return hydrostatic || fractions; }
};

// Takes `arg` when it is one of the options above, its value from `next`. An entry without
// its fields is a wrong command line (capacity::VocabularyError); a field that is not a
// number is left for the request, where it is an error report like any other.
bool takeVerticalOption(std::string_view arg, const std::function<std::string_view()>& next,
                        VerticalOptions& options);

// Each list given replaces the whole list of the inputs.
void applyVerticalOptions(const VerticalOptions& options, capacity::NamedInputs& inputs);

// With --hydrostatic the rows "level,increase", with --fractions one line per course
// "course,v1,…,v9"; a validation stop goes to `err` (kValidation).
int runVerticalTables(const VerticalOptions& options, capacity::NamedInputs& inputs, std::ostream& out,
                      std::ostream& err);

// Whether NAME is a readable name that repeats, one list entry each (vertical.course).
bool isListName(std::string_view name);

// The --help lines of these options.
std::string_view verticalUsageText();

} // namespace kelvora::cli
