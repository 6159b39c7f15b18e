#pragma once
// Sectioned key-value files in the Windows profile layout, read and written the way the
// Windows profile functions do, so that a Config.ini moves between the Windows program and
// this one unchanged:
//
//   [Section]
//   key=value
//
// Section and key names compare without regard to the case of ASCII letters (a GBK
// character is never folded); blanks (spaces, tabs) around names and values do not
// count; a line starting with ";" is a comment; lines end with CRLF or LF, the last one
// perhaps with neither. Only the first section of a name is used, and its first key of a
// name. A line inside a section that has no "=" is a key with an empty value.
//
// The file's bytes are GBK; every name and value passed in or out here is UTF-8.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::persist {

struct ProfileEntry {
    std::string key;
    std::string value;
};

class ProfileFile {
public:
    // How much of a file is read. The program's own Config.ini stays below 400 KiB even
    // with every value at the 2047-character reading limit; the ceiling only keeps a
    // damaged or hostile file from costing unbounded memory and time.
    static constexpr std::size_t kMaxBytes = std::size_t{8} << 20;
    // A value reads back as at most this many characters, as from the Windows functions'
    // 2048-character buffer.
    static constexpr std::size_t kMaxValueChars = 2047;

    ProfileFile() = default;
    explicit ProfileFile(std::string bytes) : bytes_(std::move(bytes)) {}

    // For reading only: a missing or unreadable file reads as empty, as the Windows
    // functions answer the defaults; bytes past kMaxBytes are ignored.
    static ProfileFile loadForReading(const std::filesystem::path& path);
    // For an update: a missing file is empty. One that exists but cannot be read whole
    // (unreadable, or larger than kMaxBytes) throws IoError, because writing it back
    // would destroy the part that was not read.
    static ProfileFile loadForUpdate(const std::filesystem::path& path);
    // The same, but a file larger than kMaxBytes is no error: std::nullopt.
    static std::optional<ProfileFile> loadWhole(const std::filesystem::path& path);

    const std::string& bytes() const { return bytes_; }

    // The value with blanks around it and one pair of enclosing quotes (" or ') removed,
    // cut to kMaxValueChars; std::nullopt when the section or key is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;
    // Several keys of one section in one pass over the file; result[i] belongs to keys[i].
    std::vector<std::optional<std::string>> read(std::string_view section,
                                                 std::span<const std::string_view> keys) const;

    // An existing key's line becomes "key=value" in place (the key spelled as in the
    // file); a new key goes after the last key line of its section (or right after the
    // section line); a new section goes to the end of the file. Every other line keeps its
    // bytes; written lines end with CRLF. A line break inside a value is written as a
    // blank, since it would otherwise end the line and forge the next one.
    void write(std::string_view section, std::string_view key, std::string_view value);
    // The same as writing the entries one after another, in one pass.
    void write(std::string_view section, std::span<const ProfileEntry> entries);

    // Replaces the file at `path` with bytes() in one step (writeFileAtomically). More
    // than kMaxBytes is refused (IoError, the file as it was), so that whatever this
    // program writes loads back whole.
    void save(const std::filesystem::path& path) const;

private:
    std::string bytes_;
};

// The file-level operations, one complete read or atomic update of the file per call.
std::string readProfileString(const std::filesystem::path& path, std::string_view section,
                              std::string_view key, std::string_view fallback);
void writeProfileString(const std::filesystem::path& path, std::string_view section, std::string_view key,
                        std::string_view value);

} // namespace kelvora::persist
