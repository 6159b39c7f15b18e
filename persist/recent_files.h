#pragma once
// The tank files opened or saved last, newest first, for the window's 文件 menu: a UTF-8
// text file in the data folder beside Config.ini, one path per line (Config.ini is GBK and
// could not hold every path).

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvora::persist {

inline constexpr const char* kRecentFilesName = "recent-tanks.txt";
inline constexpr std::size_t kMaxRecentFiles = 5;

// At most kMaxRecentFiles paths; a missing or unreadable file, or a line that is not
// UTF-8, gives fewer, never an error.
std::vector<std::string> loadRecentFiles(const std::filesystem::path& dir);

// `path` first, without its earlier place in the list, cut to kMaxRecentFiles.
std::vector<std::string> withRecentFile(std::vector<std::string> list, const std::string& path);

// Replaces the file in `dir` in one step; IoError leaves it as it was.
void saveRecentFiles(const std::filesystem::path& dir, const std::vector<std::string>& list);

} // namespace kelvora::persist
