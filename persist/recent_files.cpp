#include "persist/recent_files.h"

#include "persist/atomic_file.h"
#include "persist/bounded_read.h"
#include "persist/utf8_text.h"

#include <algorithm>
#include <sstream>

namespace kelvora::persist {

std::vector<std::string> loadRecentFiles(const std::filesystem::path& dir) {
    std::vector<std::string> list;
    try {
        const auto read = readFilePrefix(dir / kRecentFilesName, 64 * 1024);
        if (!read) return list;
        std::istringstream in(read->bytes);
        for (std::string line; list.size() < kMaxRecentFiles && std::getline(in, line);)
            if (!line.empty() && isUtf8(line) && std::find(list.begin(), list.end(), line) == list.end())
                list.push_back(line);
    } catch (...) {
        // The list is a convenience: a file that cannot be read gives an empty list.
    }
    return list;
}

std::vector<std::string> withRecentFile(std::vector<std::string> list, const std::string& path) {
    std::erase(list, path);
    list.insert(list.begin(), path);
    if (list.size() > kMaxRecentFiles) list.resize(kMaxRecentFiles);
    return list;
}

void saveRecentFiles(const std::filesystem::path& dir, const std::vector<std::string>& list) {
    std::string text;
    for (const auto& path : list)
        text.append(path).push_back('\n');
    std::filesystem::create_directories(dir);
    writeFileAtomically(dir / kRecentFilesName, text);
}

} // namespace kelvora::persist
