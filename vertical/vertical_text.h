#pragma once
// The vertical tank's repeated inputs as text: entries "a,b,c" joined by ";", as one input
// holds them (the window's grids, Config.ini, a register cell) and as the readable names
// vertical.course, vertical.bottom_point and vertical.deadwood give them one by one.

#include "vertical/vertical_tank.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvora::vertical {

// The entries of a list, each split into its fields, blanks at their ends trimmed; empty
// entries are skipped.
std::vector<std::vector<std::string>> splitEntries(std::string_view list);

// The entries joined back: fields by ",", entries by ";".
std::string joinEntries(const std::vector<std::vector<std::string>>& entries);

// The fields each entry of a list takes.
struct EntryShape {
    std::size_t minFields, maxFields;
    const char* what;   // "圈板", "罐底点", "段罐内附件"
    const char* fields; // "高度,周长,板厚[,修正值]"
};
inline constexpr EntryShape kCourseShape{3, 4, "圈板", "高度,周长,板厚[,修正值]"};
inline constexpr EntryShape kBottomShape{2, 2, "个罐底点", "高度,容积"};
inline constexpr EntryShape kDeadwoodShape{3, 3, "段罐内附件", "起点高度,终点高度,容积"};

// Empty when every entry has the fields of `shape`, otherwise the message naming the first
// that has not ("呵呵，第 2 圈板要写成“高度,周长,板厚[,修正值]”！").
std::string entryShapeProblem(const std::vector<std::vector<std::string>>& entries, const EntryShape& shape);

// The lists as numbers, for entries of the right shape; a field that is not a number
// throws ConvertError.
std::vector<Course> readCourses(const std::vector<std::vector<std::string>>& entries);
std::vector<BottomPoint> readBottom(const std::vector<std::vector<std::string>>& entries);
std::vector<DeadwoodBand> readDeadwood(const std::vector<std::vector<std::string>>& entries);

} // namespace kelvora::vertical
