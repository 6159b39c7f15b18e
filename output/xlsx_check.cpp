// The read-backs of an .xlsx package (declared in xlsx_writer.h).
#include "output/xlsx_writer.h"

#include "kernel/errors.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kelvora::output {

namespace {

constexpr std::string_view kSheetMember = "xl/worksheets/sheet1.xml";

[[noreturn]] void failCheck(const std::string& name, const std::string& what) {
    throw IoError("保存的文件 " + name + " 不完整（" + what + "），可能是磁盘空间不足");
}

std::uint16_t get16(const char* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1])
                                                                             << 8);
}
std::uint32_t get32(const char* p) {
    return static_cast<std::uint32_t>(get16(p)) | static_cast<std::uint32_t>(get16(p + 2)) << 16;
}

// A file read front to back while a writer may still be adding to it.
class GrowingFile {
public:
    GrowingFile(const std::string& path, const std::atomic<bool>& writerDone)
        : path_(path), writerDone_(writerDone) {}
    ~GrowingFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    GrowingFile(const GrowingFile&) = delete;
    GrowingFile& operator=(const GrowingFile&) = delete;

    // Up to n bytes from the current position, waiting for them while the writer runs;
    // 0 only at the end of a finished file.
    std::size_t readSome(char* to, std::size_t n) {
        for (;;) {
            // Read after looking at the flag: what was written before it was set is there.
            const bool done = writerDone_.load(std::memory_order_acquire);
            if (fd_ < 0) fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd_ >= 0) {
                const ssize_t got = ::pread(fd_, to, n, static_cast<off_t>(position_));
                if (got > 0) {
                    position_ += static_cast<std::uint64_t>(got);
                    return static_cast<std::size_t>(got);
                }
                if (got < 0 && errno != EINTR) return 0;
            }
            if (done) return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    bool readExact(char* to, std::size_t n) {
        while (n > 0) {
            const std::size_t got = readSome(to, n);
            if (got == 0) return false;
            to += got;
            n -= got;
        }
        return true;
    }

    void skip(std::size_t n) { position_ += n; }
    void back(std::size_t n) { position_ -= n; }
    std::uint64_t position() const { return position_; }

private:
    std::string path_;
    const std::atomic<bool>& writerDone_;
    int fd_ = -1;
    std::uint64_t position_ = 0;
};

// What one member's content must satisfy, gathered while it inflates.
struct ContentCheck {
    static constexpr std::size_t kKept = 128;
    bool countCells = false;
    std::uint64_t cells = 0;
    int matched = 0; // characters of "<c " seen so far
    std::string head, tail;

    void feed(const char* p, std::size_t n) {
        if (head.size() < 512) head.append(p, std::min(n, 512 - head.size()));
        if (n >= kKept)
            tail.assign(p + n - kKept, kKept);
        else
            tail.append(p, n).erase(0, tail.size() > kKept ? tail.size() - kKept : 0);
        if (!countCells) return;
        static constexpr char kCell[] = "<c ";
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] == kCell[matched]) {
                if (++matched == 3) {
                    ++cells;
                    matched = 0;
                }
            } else {
                matched = p[i] == '<' ? 1 : 0;
            }
        }
    }

    // The document ends by closing the element it opened first.
    bool closesRoot() const {
        std::string_view h = head;
        if (h.starts_with("<?")) {
            const auto end = h.find("?>");
            if (end == std::string_view::npos) return false;
            h.remove_prefix(end + 2);
        }
        const auto open = h.find('<');
        if (open == std::string_view::npos) return false;
        const auto nameEnd = h.find_first_of(" \t\r\n/>", open + 1);
        if (nameEnd == std::string_view::npos) return false;
        const std::string closing = "</" + std::string(h.substr(open + 1, nameEnd - open - 1)) + ">";
        std::string_view t = tail;
        while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' '))
            t.remove_suffix(1);
        return t.ends_with(closing);
    }
};

struct Member {
    std::string name;
    std::uint64_t offset = 0, packed = 0, size = 0;
    std::uint32_t crc = 0;
};

class Inflater {
public:
    Inflater() {
        if (inflateInit2(&z_, -MAX_WBITS) != Z_OK) throw IoError("无法解压 .xlsx 文件");
    }
    ~Inflater() { inflateEnd(&z_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    z_stream* operator->() { return &z_; }
    z_stream* get() { return &z_; }

private:
    z_stream z_{};
};

// Inflates the member whose local header starts at the file's position.
Member readMember(GrowingFile& file, const std::string& name, ContentCheck& check) {
    Member m;
    m.offset = file.position();
    char header[30];
    if (!file.readExact(header, sizeof header) || get32(header) != kLocalHeader) failCheck(name, "成员损坏");
    const std::uint16_t flags = get16(header + 6), method = get16(header + 8);
    m.name.resize(get16(header + 26));
    if (!file.readExact(m.name.data(), m.name.size())) failCheck(name, "成员被截断");
    file.skip(get16(header + 28));
    if (method != 8) failCheck(name, m.name + " 的压缩方式未知");
    check.countCells = m.name == kSheetMember;

    Inflater z;
    std::vector<char> in(1 << 16), out(1 << 18);
    std::uint32_t crc = crc32(0, nullptr, 0);
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (z->avail_in == 0) {
            const std::size_t got = file.readSome(in.data(), in.size());
            if (got == 0) failCheck(name, m.name + " 被截断");
            z->next_in = reinterpret_cast<Bytef*>(in.data());
            z->avail_in = static_cast<uInt>(got);
        }
        z->next_out = reinterpret_cast<Bytef*>(out.data());
        z->avail_out = static_cast<uInt>(out.size());
        status = inflate(z.get(), Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && !(status == Z_BUF_ERROR && z->avail_in == 0))
            failCheck(name, m.name + " 的压缩数据损坏");
        const std::size_t produced = out.size() - z->avail_out;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(produced));
        check.feed(out.data(), produced);
    }
    file.back(z->avail_in);
    m.packed = z->total_in;
    m.size = z->total_out;
    m.crc = crc;
    if (flags & 0x0008) {
        char descriptor[16];
        if (!file.readExact(descriptor, 4)) failCheck(name, "成员被截断");
        file.skip(get32(descriptor) == kDataDescriptor ? 12 : 8);
    }
    return m;
}

} // namespace

void checkXlsxPackage(const std::string& packagePath, std::uint64_t expectedCells, const std::string& shownAs,
                      const std::atomic<bool>& writerDone) {
    const std::string& name = shownAs.empty() ? packagePath : shownAs;
    GrowingFile file(packagePath, writerDone);

    std::vector<Member> members;
    bool sawSheet = false;
    for (;;) {
        char signature[4];
        if (!file.readExact(signature, 4)) failCheck(name, "缺少目录");
        file.back(4);
        if (get32(signature) == kCentralHeader) break;
        ContentCheck check;
        members.push_back(readMember(file, name, check));
        const std::string& member = members.back().name;
        if ((member.ends_with(".xml") || member.ends_with(".rels")) && !check.closesRoot())
            failCheck(name, member + " 被截断");
        if (check.countCells) {
            sawSheet = true;
            if (check.cells != expectedCells)
                failCheck(name, "工作表有 " + std::to_string(check.cells) + " 个单元格，应为 " +
                                    std::to_string(expectedCells));
        }
    }
    if (!sawSheet) failCheck(name, "缺少工作表");

    // The central directory, once the writer has finished, must describe what was read.
    const std::uint64_t directoryStart = file.position();
    std::string directory;
    char chunk[1 << 16];
    for (std::size_t got; (got = file.readSome(chunk, sizeof chunk)) > 0;)
        directory.append(chunk, got);
    if (directory.size() < 22) failCheck(name, "缺少目录");
    std::size_t end = directory.size() - 22;
    while (get32(directory.data() + end) != kEndOfDirectory) {
        if (end == 0 || directory.size() - end > 22 + 0xFFFF) failCheck(name, "缺少目录");
        --end;
    }
    const char* e = directory.data() + end;
    if (get16(e + 10) != members.size() || get32(e + 16) != directoryStart) failCheck(name, "目录与内容不符");
    std::size_t at = 0;
    for (const Member& m : members) {
        const char* c = directory.data() + at;
        if (at + 46 > end || get32(c) != kCentralHeader) failCheck(name, "目录损坏");
        const std::size_t nameLength = get16(c + 28);
        if (at + 46 + nameLength > end || std::string_view(c + 46, nameLength) != m.name ||
            get32(c + 16) != m.crc || get32(c + 20) != m.packed || get32(c + 24) != m.size ||
            get32(c + 42) != m.offset)
            failCheck(name, m.name + " 的校验和不符");
        at += 46 + nameLength + get16(c + 30) + get16(c + 32);
    }
}

namespace {

// Bytes of the file at an offset; short only where the file is.
std::string readAt(int fd, std::uint64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, bytes.data() + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

// A raw deflate stream inflated whole; false when it is damaged or does not end.
bool inflateAll(std::string_view packed, std::string& out) {
    Inflater z;
    z->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z->avail_in = static_cast<uInt>(packed.size());
    char chunk[1 << 14];
    for (;;) {
        z->next_out = reinterpret_cast<Bytef*>(chunk);
        z->avail_out = sizeof chunk;
        const int status = inflate(z.get(), Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - z->avail_out);
        if (status == Z_STREAM_END) return z->avail_in == 0;
        if (status != Z_OK) return false;
    }
}

} // namespace

void checkWrittenXlsx(const std::string& packagePath, const XlsxPackage& written, std::uint64_t expectedCells,
                      const std::string& shownAs, std::uint64_t tankCells) {
    const std::string& name = shownAs.empty() ? packagePath : shownAs;
    if (written.cells != expectedCells + tankCells)
        failCheck(name, "工作表有 " + std::to_string(written.cells) + " 个单元格，应为 " +
                            std::to_string(expectedCells + tankCells));
    const int fd = ::open(packagePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) failCheck(name, "无法读回");
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || static_cast<std::uint64_t>(info.st_size) != written.bytes)
        failCheck(name, "文件长度不符");

    // The directory, as the writer wrote it: no archive comment, so the end record closes the file.
    const std::string end = readAt(fd, written.bytes - std::min<std::uint64_t>(written.bytes, 22), 22);
    if (end.size() != 22 || get32(end.data()) != kEndOfDirectory ||
        get16(end.data() + 10) != written.entries.size())
        failCheck(name, "缺少目录");
    const std::string directory = readAt(fd, get32(end.data() + 16), get32(end.data() + 12));
    std::size_t at = 0;
    for (const ZipEntry& e : written.entries) {
        const char* c = directory.data() + at;
        if (at + 46 > directory.size() || get32(c) != kCentralHeader) failCheck(name, "目录损坏");
        const std::size_t nameLength = get16(c + 28);
        if (at + 46 + nameLength > directory.size() || std::string_view(c + 46, nameLength) != e.name ||
            get32(c + 16) != e.crc || get32(c + 20) != e.packed || get32(c + 24) != e.size ||
            get32(c + 42) != e.offset)
            failCheck(name, e.name + " 的目录项不符");
        at += 46 + nameLength + get16(c + 30) + get16(c + 32);

        const std::string local = readAt(fd, e.offset, 30 + e.name.size());
        if (local.size() != 30 + e.name.size() || get32(local.data()) != kLocalHeader ||
            local.compare(30, std::string::npos, e.name) != 0 || get16(local.data() + 28) != 0)
            failCheck(name, e.name + " 的头部损坏");
        const std::uint64_t data = e.offset + local.size();
        if (!e.descriptor) {
            // A whole part: inflated and compared, and an XML part closes its root.
            std::string content;
            if (get32(local.data() + 14) != e.crc || !inflateAll(readAt(fd, data, e.packed), content) ||
                content.size() != e.size || zipCrc32(0, content) != e.crc)
                failCheck(name, e.name + " 损坏");
            ContentCheck check;
            check.feed(content.data(), content.size());
            if (!check.closesRoot()) failCheck(name, e.name + " 被截断");
            continue;
        }
        // A streamed sheet: its descriptor, and its last flushed piece, which inflates on
        // its own, closes the worksheet.
        const std::string descriptor = readAt(fd, data + e.packed, 16);
        if (descriptor.size() != 16 || get32(descriptor.data()) != kDataDescriptor ||
            get32(descriptor.data() + 4) != e.crc || get32(descriptor.data() + 8) != e.packed ||
            get32(descriptor.data() + 12) != e.size)
            failCheck(name, e.name + " 的数据描述不符");
        std::string tail;
        if (!inflateAll(readAt(fd, data + e.tailOffset, e.packed - e.tailOffset), tail) ||
            !std::string_view(tail).ends_with("</worksheet>"))
            failCheck(name, e.name + " 被截断");
    }
    if (at != directory.size()) failCheck(name, "目录与内容不符");
}

} // namespace kelvora::output
