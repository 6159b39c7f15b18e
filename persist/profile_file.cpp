#include "persist/profile_file.h"

#include "kernel/errors.h"
#include "persist/atomic_file.h"
#include "persist/bounded_read.h"
#include "persist/gbk_text.h"
#include "persist/io_error.h"

#include <algorithm>
#include <cerrno>
#include <unordered_map>

namespace kelvora::persist {

namespace {

// Every byte looked at below ("[", "]", "=", ";", blanks, line ends) lies under 0x40, the
// smallest GBK trail byte, so it can be searched for in the raw bytes; only ASCII letters
// (which trail bytes can equal) need the character walk of foldName.

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string foldName(std::string_view gbk) {
    std::string folded(gbk);
    for (std::size_t i = 0; i < folded.size();) {
        const std::size_t n = gbkCharSize(folded, i);
        if (n == 1 && folded[i] >= 'A' && folded[i] <= 'Z')
            folded[i] = static_cast<char>(folded[i] - 'A' + 'a');
        i += n;
    }
    return folded;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
    std::size_t begin = 0; // first byte of the line
    std::size_t next = 0;  // first byte after its line end
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed
};

// The lines of a profile file, one at a time.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    bool next(Line& line) {
        if (pos_ >= bytes_.size()) return false;
        const std::size_t lf = bytes_.find('\n', pos_);
        const std::size_t next = lf == std::string_view::npos ? bytes_.size() : lf + 1;
        std::string_view text =
            bytes_.substr(pos_, (lf == std::string_view::npos ? bytes_.size() : lf) - pos_);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        line = Line{pos_, next, LineKind::Blank, {}, {}};
        pos_ = next;
        classify(trimBlanks(text), line);
        return true;
    }

private:
    static void classify(std::string_view text, Line& line) {
        if (text.empty()) return;
        if (text.front() == ';') {
            line.kind = LineKind::Comment;
            return;
        }
        if (text.front() == '[') {
            const std::size_t close = lastSingleByte(text, ']');
            if (close == std::string_view::npos) {
                line.kind = LineKind::Other;
            } else {
                line.kind = LineKind::Section;
                line.name = trimBlanks(text.substr(1, close - 1));
            }
            return;
        }
        line.kind = LineKind::Key;
        const std::size_t eq = text.find('=');
        line.name = trimBlanks(text.substr(0, eq));
        if (eq != std::string_view::npos) line.value = trimBlanks(text.substr(eq + 1));
    }

    static std::size_t lastSingleByte(std::string_view s, char c) {
        std::size_t found = std::string_view::npos;
        for (std::size_t i = 0; i < s.size();) {
            const std::size_t n = gbkCharSize(s, i);
            if (n == 1 && s[i] == c) found = i;
            i += n;
        }
        return found;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

std::string decodeValue(std::string_view gbk) {
    if (gbk.size() >= 2 && (gbk.front() == '"' || gbk.front() == '\'') && gbk.back() == gbk.front())
        gbk = gbk.substr(1, gbk.size() - 2);
    // A GBK character takes one or two bytes and decodes to one character, so twice the
    // character limit in bytes is always enough; the cut spares decoding a huge value.
    std::string text = gbkToUtf8(gbkPrefix(gbk, 2 * ProfileFile::kMaxValueChars));
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++chars > ProfileFile::kMaxValueChars) {
            text.resize(i);
            break;
        }
    }
    return text;
}

std::string encodeLineText(std::string_view utf8) {
    std::string gbk = utf8ToGbk(utf8);
    std::replace_if(
        gbk.begin(), gbk.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return gbk;
}

ProfileFile load(const std::filesystem::path& path, bool forUpdate) {
    std::optional<FilePrefix> file;
    try {
        file = readFilePrefix(path, ProfileFile::kMaxBytes);
    } catch (const IoError&) {
        if (forUpdate) throw;
        return ProfileFile(); // like the Windows functions, which answer the defaults
    }
    if (!file) return ProfileFile();
    if (file->truncated && forUpdate)
        throw IoError("Cannot update file \"" + path.string() + "\": it is larger than " +
                      std::to_string(ProfileFile::kMaxBytes) + " bytes");
    return ProfileFile(std::move(file->bytes));
}

} // namespace

ProfileFile ProfileFile::loadForReading(const std::filesystem::path& path) {
    return load(path, false);
}

ProfileFile ProfileFile::loadForUpdate(const std::filesystem::path& path) {
    return load(path, true);
}

std::optional<ProfileFile> ProfileFile::loadWhole(const std::filesystem::path& path) {
    const auto file = readFilePrefix(path, kMaxBytes);
    if (!file) return ProfileFile();
    if (file->truncated) return std::nullopt;
    return ProfileFile(std::move(file->bytes));
}

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const {
    return read(section, std::span<const std::string_view>(&key, 1)).front();
}

std::vector<std::optional<std::string>> ProfileFile::read(std::string_view section,
                                                          std::span<const std::string_view> keys) const {
    std::vector<std::optional<std::string>> values(keys.size());
    std::unordered_map<std::string, std::vector<std::size_t>> wanted;
    for (std::size_t i = 0; i < keys.size(); ++i)
        wanted[foldName(utf8ToGbk(keys[i]))].push_back(i);
    const std::string sectionName = foldName(utf8ToGbk(section));

    LineReader reader(bytes_);
    Line line;
    bool inSection = false;
    while (!wanted.empty() && reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection) break; // only the first section of the name counts
            inSection = foldName(line.name) == sectionName;
        } else if (inSection && line.kind == LineKind::Key) {
            const auto it = wanted.find(foldName(line.name));
            if (it == wanted.end()) continue;
            const std::string value = decodeValue(line.value);
            for (std::size_t i : it->second)
                values[i] = value;
            wanted.erase(it); // the first key of a name counts
        }
    }
    return values;
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
    const ProfileEntry entry{std::string(key), std::string(value)};
    write(section, std::span<const ProfileEntry>(&entry, 1));
}

void ProfileFile::write(std::string_view section, std::span<const ProfileEntry> entries) {
    struct Pending {
        std::string key;                                 // GBK, as it will be written
        std::string value;                               // GBK
        std::size_t begin = std::string::npos, next = 0; // the existing line, if any
    };
    std::vector<Pending> pending;
    std::unordered_map<std::string, std::size_t> byName;
    for (const auto& entry : entries) {
        std::string key = encodeLineText(entry.key);
        const auto [it, isNew] = byName.emplace(foldName(key), pending.size());
        if (isNew) pending.push_back({std::move(key), {}, std::string::npos, 0});
        // A key written twice keeps its first place and its last value.
        pending[it->second].value = encodeLineText(entry.value);
    }
    const std::string sectionGbk = encodeLineText(section);
    const std::string sectionName = foldName(sectionGbk);

    // Find the first section of the name, its keys, and where its new keys go.
    LineReader reader(bytes_);
    Line line;
    bool inSection = false, found = false;
    std::size_t insertAt = bytes_.size();
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection) break;
            inSection = foldName(line.name) == sectionName;
            if (inSection) {
                found = true;
                insertAt = line.next;
            }
        } else if (inSection && (line.kind == LineKind::Key || line.kind == LineKind::Other)) {
            insertAt = line.next;
            if (line.kind != LineKind::Key) continue;
            const auto it = byName.find(foldName(line.name));
            if (it == byName.end() || pending[it->second].begin != std::string::npos) continue;
            Pending& p = pending[it->second];
            p.key.assign(line.name); // the file's own spelling of the key stays
            p.begin = line.begin;
            p.next = line.next;
        }
    }

    std::vector<const Pending*> replaced;
    for (const auto& p : pending)
        if (p.begin != std::string::npos) replaced.push_back(&p);
    std::sort(replaced.begin(), replaced.end(), [](auto* a, auto* b) { return a->begin < b->begin; });

    std::string out;
    out.reserve(bytes_.size() + 64 * pending.size());
    const auto keyLine = [&out](const Pending& p) {
        out.append(p.key).append("=").append(p.value).append("\r\n");
    };
    std::size_t copied = 0;
    for (const Pending* p : replaced) {
        out.append(bytes_, copied, p->begin - copied);
        keyLine(*p);
        copied = p->next;
    }
    // insertAt is never before a replaced line: it lies at or after the end of every key line.
    out.append(bytes_, copied, insertAt - copied);
    if (replaced.size() < pending.size()) {
        // A last line without its line end gets one; a lone CR there already counted as
        // its line end when reading, so it only needs the LF.
        if (!out.empty() && out.back() == '\r')
            out.append("\n");
        else if (!out.empty() && out.back() != '\n')
            out.append("\r\n");
        if (!found) out.append("[").append(sectionGbk).append("]\r\n");
        for (const auto& p : pending)
            if (p.begin == std::string::npos) keyLine(p);
    }
    out.append(bytes_, insertAt, std::string::npos);
    bytes_ = std::move(out);
}

void ProfileFile::save(const std::filesystem::path& path) const {
    // What a load does not read whole could never be updated again, and its keys past the
    // ceiling would be lost to every later start.
    if (bytes_.size() > kMaxBytes) throwIoError("无法保存文件", path, EFBIG);
    writeFileAtomically(path, bytes_);
}

std::string readProfileString(const std::filesystem::path& path, std::string_view section,
                              std::string_view key, std::string_view fallback) {
    return ProfileFile::loadForReading(path).read(section, key).value_or(std::string(fallback));
}

void writeProfileString(const std::filesystem::path& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    ProfileFile file = ProfileFile::loadForUpdate(path);
    file.write(section, key, value);
    file.save(path);
}

} // namespace kelvora::persist
