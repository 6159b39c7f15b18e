#include "vertical/vertical_text.h"

#include "kernel/number_text.h"

namespace kelvora::vertical {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) break;
        text.remove_prefix(at + 1);
    }
    return parts;
}

double number(const std::vector<std::string>& entry, std::size_t i) {
    return i < entry.size() ? kernel::strToFloat(entry[i]) : 0.0;
}

} // namespace

std::vector<std::vector<std::string>> splitEntries(std::string_view list) {
    std::vector<std::vector<std::string>> entries;
    for (std::string_view entry : split(list, ';')) {
        if (trim(entry).empty()) continue;
        std::vector<std::string> fields;
        for (std::string_view field : split(entry, ','))
            fields.emplace_back(trim(field));
        entries.push_back(std::move(fields));
    }
    return entries;
}

std::string joinEntries(const std::vector<std::vector<std::string>>& entries) {
    std::string text;
    for (const auto& entry : entries) {
        if (!text.empty()) text.push_back(';');
        for (std::size_t i = 0; i < entry.size(); ++i)
            text.append(i ? "," : "").append(entry[i]);
    }
    return text;
}

std::string entryShapeProblem(const std::vector<std::vector<std::string>>& entries, const EntryShape& shape) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t n = entries[i].size();
        if (n < shape.minFields || n > shape.maxFields)
            return "呵呵，第 " + std::to_string(i + 1) + " " + shape.what + "要写成“" + shape.fields + "”！";
    }
    return {};
}

std::vector<Course> readCourses(const std::vector<std::vector<std::string>>& entries) {
    std::vector<Course> courses;
    for (const auto& e : entries)
        courses.push_back({number(e, 0), number(e, 1), number(e, 2), number(e, 3)});
    return courses;
}

std::vector<BottomPoint> readBottom(const std::vector<std::vector<std::string>>& entries) {
    std::vector<BottomPoint> points;
    for (const auto& e : entries)
        points.push_back({number(e, 0), number(e, 1)});
    return points;
}

std::vector<DeadwoodBand> readDeadwood(const std::vector<std::vector<std::string>>& entries) {
    std::vector<DeadwoodBand> bands;
    for (const auto& e : entries)
        bands.push_back({number(e, 0), number(e, 1), number(e, 2)});
    return bands;
}

} // namespace kelvora::vertical
