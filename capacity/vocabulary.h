#pragma once
// The readable names of a tank's inputs: "inclined.alpha" for Edit29, "left.shape = cone"
// for RadioButton16. Tank files, the register's columns and the batch tool speak these
// names; the window, Config.ini and scripts written earlier keep the component names,
// which every place that takes a readable name accepts as well. The head shapes and their
// dimensions come from the head table (head_components), the components from the input
// tables, so this table only adds the names.

#include "capacity/named_inputs.h"
#include "kernel/errors.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvora::capacity {

enum class TermKind {
    Structure, // the page of PageControl1
    Choice,    // one radio button of a group
    Flag,      // a check box: yes / no
    Pick,      // a fixed item of a combo box
    Text,      // an edit field's text
    HeadShape, // the head radio button of one side (head_components)
    HeadSize,  // a dimension field of the chosen head shape of one side
    Points,    // the calibration grid and ComboBox2
    Entries,   // one entry of a list input, the name repeated per entry (vertical.course)
};

struct TermValue {
    std::string_view word;      // as written: "circle"
    std::string_view component; // Choice: the radio button
    int index = -1;             // Structure: the page; Pick: the item index
    std::string_view text;      // Pick on a free-text combo box: the item's text
};

struct Term {
    std::string_view name;
    TermKind kind;
    std::string_view component; // Text, Flag, Pick: the input; Structure: PageControl1; Points: ComboBox2
    std::string_view caption;   // Chinese, as a person reads it
    std::string_view unit;      // "mm", "L", "°", ... or empty
    std::span<const TermValue> values; // Structure, Choice, Pick, Flag: the accepted words
    int side = 0;                      // HeadShape, HeadSize: 0 left, 1 right
};

std::span<const Term> vocabulary();
const Term* findTerm(std::string_view name);

// One NAME=VALUE from a tank file (line from 1), a register's cell or the command line (0).
struct Assignment {
    std::string name, value;
    int line = 0;
};

// A refused assignment; `line` is the assignment's, 0 when it has none.
class VocabularyError : public Error {
public:
    VocabularyError(int line, const std::string& text) : Error(text), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

// Whether the term's value is a number (a dimension, a level, an uncertainty …); the
// certificate's texts and the choices are not.
bool takesNumber(const Term& term);

// Applies one set of assignments: the readable names in the vocabulary's order, so a
// head's shape is chosen before its dimensions are read against it, then the component
// names in their given order. The entries of a list name (vertical.course, each value
// one entry or several joined by ";") replace the whole list, in their given order.
// A name given twice in one set (point and list names excepted), an unknown
// name, a word that is not one of the accepted values, a head dimension the chosen shape
// does not have, or a point count outside 2 … 200 throws VocabularyError; inputs applied
// before it stay applied.
void applyAssignments(NamedInputs& inputs, std::span<const Assignment> assignments);

// Every input the vocabulary covers, the grid's points included, as at a first start
// without Config.ini (MemoryInputs::afterStartup).
void resetToStartup(NamedInputs& inputs);

// The inputs in readable names, in the vocabulary's order: every input, but of a head
// only the chosen shape's dimensions; a group without a choice is left out; one "point"
// per calibration row shown, left out when the grid holds the start-up's 8 empty rows.
std::vector<std::pair<std::string, std::string>> describeInputs(const NamedInputs& inputs);

// The text without the blanks (spaces, tabs) at its ends, as every readable value is taken.
std::string_view trimBlanks(std::string_view s);

// A point "LEVEL,VOLUME"; several joined by ";" in one register cell.
std::vector<std::pair<std::string, std::string>> splitPoints(std::string_view value);

// For --inputs and the manual: one line per readable name, the component(s) it stands for,
// the caption, the unit and the accepted values, tab-separated.
struct TermListing {
    std::string name, components, caption, unit, values;
};
std::vector<TermListing> vocabularyListing();

} // namespace kelvora::capacity
