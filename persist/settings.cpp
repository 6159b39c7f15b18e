#include "persist/settings.h"

#include "capacity/input_table.h"
#include "capacity/page_inputs.h"
#include "kernel/number_text.h"
#include "persist/atomic_file.h"
#include "persist/profile_file.h"

#include <vector>

namespace kelvora::persist {

namespace {

using capacity::InputKind;

bool isToggle(InputKind kind) {
    return kind == InputKind::CheckBox || kind == InputKind::RadioButton;
}

// Blank for the "0" rule: a space or any control character, at either end.
bool trimsToNothing(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

std::string storedValue(const capacity::NamedInputs& inputs, const capacity::InputInfo& input) {
    if (isToggle(input.kind)) return inputs.checked(input.name) ? "1" : "0";
    std::string text = inputs.text(input.name);
    return trimsToNothing(text) ? "0" : text;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The profile reader drops blanks around a value and one pair of enclosing quotes; a value
// that would lose something that way is written inside one more pair of quotes.
std::string pageValue(const capacity::NamedInputs& inputs, const capacity::InputInfo& input) {
    if (isToggle(input.kind)) return inputs.checked(input.name) ? "1" : "0";
    std::string text = inputs.text(input.name);
    if (text.empty()) return text;
    const bool quoted = text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\'');
    if (quoted || isBlank(text.front()) || isBlank(text.back())) return '"' + text + '"';
    return text;
}

bool readsAsChecked(const std::optional<std::string>& value) {
    if (!value) return false;
    const auto number = kernel::tryStrToInt(*value);
    return number && *number != 0;
}

} // namespace

std::filesystem::path ConfigPath(const std::string& dir) {
    return std::filesystem::path(dir) / "Config.ini";
}

std::filesystem::path SaveSettings(const capacity::NamedInputs& inputs, const std::filesystem::path& path) {
    std::vector<ProfileEntry> entries;
    entries.reserve(capacity::inputTable().size() + 2);
    entries.push_back({std::string(kVersionKey), std::string(kVersionValue)});
    entries.push_back({std::string(kModuleKey), std::string(kMainFormCaption)});
    for (const auto& input : capacity::inputTable())
        entries.push_back({std::string(input.name), storedValue(inputs, input)});

    std::vector<ProfileEntry> pageEntries;
    for (const auto& input : capacity::pageInputTable())
        pageEntries.push_back({std::string(input.name), pageValue(inputs, input)});

    const auto writeInputs = [&](ProfileFile& file) {
        file.write(kSettingsSection, entries);
        file.write(kKelvoraSection, pageEntries);
    };
    if (auto file = ProfileFile::loadWhole(path)) {
        writeInputs(*file);
        if (file->bytes().size() <= ProfileFile::kMaxBytes) {
            file->save(path);
            return {};
        }
    }
    // What makes the file too large to load back is not the program's: its own two
    // sections stay far below the ceiling. They are saved in a file of their own, and the
    // old file is kept beside it whole.
    ProfileFile own;
    writeInputs(own);
    return replaceKeepingBackup(path, own.bytes());
}

void LoadSettings(capacity::NamedInputs& inputs, const std::filesystem::path& path) {
    const auto table = capacity::inputTable();
    std::vector<std::string_view> keys;
    keys.reserve(table.size());
    for (const auto& input : table)
        keys.push_back(input.name);

    const ProfileFile file = ProfileFile::loadForReading(path);
    const auto values = file.read(kSettingsSection, keys);
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (isToggle(table[i].kind))
            inputs.setChecked(table[i].name, readsAsChecked(values[i]));
        else
            inputs.setText(table[i].name, values[i].value_or(std::string()));
    }

    const auto page = capacity::pageInputTable();
    std::vector<std::string_view> pageKeys;
    for (const auto& input : page) pageKeys.push_back(input.name);
    const auto pageValues = file.read(kKelvoraSection, pageKeys);
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (!pageValues[i]) continue;
        if (isToggle(page[i].kind)) inputs.setChecked(page[i].name, readsAsChecked(pageValues[i]));
        else inputs.setText(page[i].name, *pageValues[i]);
    }
}

} // namespace kelvora::persist
