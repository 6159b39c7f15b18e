#pragma once
// Reading a file with a ceiling on how much of it is read, so that a huge or hostile file
// beside the executable costs bounded memory and time.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace kelvora::persist {

struct FilePrefix {
    std::string bytes;      // at most the ceiling
    bool truncated = false; // the file holds more than the ceiling
};

// std::nullopt when the file does not exist; IoError when it exists but cannot be read
// (a directory, no permission, a read error).
std::optional<FilePrefix> readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes);

} // namespace kelvora::persist
