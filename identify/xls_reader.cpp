// Excel 97-2003 records through FreeXL, kept away from the program: the library reads
// past its buffers on damaged workbooks, so it runs in a child process with limits on its
// memory and processor time, and sends the first worksheet's filled cells through a pipe.
// The parent takes them within a time limit; a child that dies, is killed by a signal,
// exceeds a limit or sends anything but a well-formed stream has read no workbook.
//
// The stream, every number in native byte order (both ends are this program):
//   'N' row:u32 column:u16 value:f64     a number
//   'T' row:u32 column:u16 length:u32 …  a text, UTF-8
//   'R' row:u32                          the end of a row
//   'E' code:u8                          a refusal (kRefuse*), the last thing sent
//   'Z'                                  the end of the sheet

#include "identify/sheet.h"

#include "kernel/errors.h"

#include <freexl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvora::identify {

namespace {

constexpr rlim_t kChildMemory = rlim_t{1} << 30;     // address space
constexpr rlim_t kChildSeconds = 10;                 // processor time
constexpr auto kWallTime = std::chrono::seconds(60); // a hang, which uses no processor time

enum : unsigned char { kRefuseWorkbook = 1, kRefuseRows = 2, kRefuseColumns = 3 };

// ---- the child -------------------------------------------------------------------------

class PipeWriter {
public:
    explicit PipeWriter(int fd) : fd_(fd) {}
    void put(const void* data, std::size_t n) {
        const auto* p = static_cast<const char*>(data);
        while (n > 0) {
            const std::size_t k = std::min(n, sizeof buffer_ - used_);
            std::memcpy(buffer_ + used_, p, k);
            used_ += k, p += k, n -= k;
            if (used_ == sizeof buffer_) flush();
        }
    }
    template <class T> void value(T x) { put(&x, sizeof x); }
    void flush() {
        std::size_t done = 0;
        while (done < used_) {
            const ssize_t n = ::write(fd_, buffer_ + done, used_ - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) ::_exit(1);
            done += static_cast<std::size_t>(n);
        }
        used_ = 0;
    }

private:
    int fd_;
    std::size_t used_ = 0;
    char buffer_[1 << 16];
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

[[noreturn]] void childReads(const char* path, int fd) {
    // A crash ends the child as the signal's default does: no handler of the program (or
    // of a sanitizer) runs in it, no core is dumped.
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGXCPU})
        std::signal(signal, SIG_DFL);
    const rlimit memory{kChildMemory, kChildMemory}, cpu{kChildSeconds, kChildSeconds}, none{0, 0};
    // The address sanitizer reserves terabytes of address space for itself.
    if (!kAddressSanitizer) ::setrlimit(RLIMIT_AS, &memory);
    ::setrlimit(RLIMIT_CPU, &cpu);
    ::setrlimit(RLIMIT_CORE, &none);
    static PipeWriter out(fd);
    auto refuse = [](unsigned char code) {
        out.value('E');
        out.value(code);
        out.flush();
        ::_exit(0);
    };
    const void* handle = nullptr;
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_open(path, &handle) != FREEXL_OK || freexl_select_active_worksheet(handle, 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK)
        refuse(kRefuseWorkbook);
    if (rows > kMaxRecords + 1) refuse(kRefuseRows);
    if (columns > kMaxColumns) refuse(kRefuseColumns);
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK) refuse(kRefuseWorkbook);
            switch (value.type) {
            case FREEXL_CELL_INT:
            case FREEXL_CELL_DOUBLE:
                out.value('N');
                out.value(static_cast<std::uint32_t>(r));
                out.value(static_cast<std::uint16_t>(c));
                out.value(value.type == FREEXL_CELL_INT ? static_cast<double>(value.value.int_value)
                                                        : value.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME: {
                const char* text = value.value.text_value ? value.value.text_value : "";
                const std::size_t length = ::strnlen(text, kMaxTextBytes + 1);
                out.value('T');
                out.value(static_cast<std::uint32_t>(r));
                out.value(static_cast<std::uint16_t>(c));
                out.value(static_cast<std::uint32_t>(length));
                out.put(text, length);
                break;
            }
            default:
                break;
            }
        }
        out.value('R');
        out.value(static_cast<std::uint32_t>(r));
    }
    out.value('Z');
    out.flush();
    ::_exit(0);
}

// ---- the parent ------------------------------------------------------------------------

// Reads the child's stream into the sheet as it comes; false when it is not well formed.
class StreamReader {
public:
    // Consumes what it can of `bytes` from `pos`; throws IoError on a refusal.
    bool take(const std::string& bytes, std::size_t& pos) {
        for (;;) {
            const std::size_t left = bytes.size() - pos;
            if (left == 0 || done_) return true;
            const char* p = bytes.data() + pos;
            auto u32 = [&](std::size_t at) {
                std::uint32_t x;
                std::memcpy(&x, p + at, sizeof x);
                return x;
            };
            auto u16 = [&](std::size_t at) {
                std::uint16_t x;
                std::memcpy(&x, p + at, sizeof x);
                return x;
            };
            switch (p[0]) {
            case 'N': {
                if (left < 15) return true;
                if (!sameRow(u32(1))) return false;
                double x;
                std::memcpy(&x, p + 7, sizeof x);
                builder_.add(u16(5), Cell{Cell::Kind::Number, x, {}});
                pos += 15;
                break;
            }
            case 'T': {
                if (left < 11) return true;
                const std::uint32_t length = u32(7);
                if (length > kMaxTextBytes + 1) return false;
                if (left < 11 + length) return true;
                if (!sameRow(u32(1))) return false;
                builder_.add(u16(5), cellFromText(std::string_view(p + 11, length)));
                pos += 11 + length;
                break;
            }
            case 'R':
                if (left < 5) return true;
                if (!sameRow(u32(1))) return false;
                builder_.endRow(static_cast<std::size_t>(u32(1)) + 1);
                row_ = u32(1) + 1;
                pos += 5;
                break;
            case 'E':
                if (left < 2) return true;
                if (p[1] == kRefuseRows) throw IoError(messages::kTooManyRows);
                if (p[1] == kRefuseColumns) throw IoError(messages::kTooManyColumns);
                throw IoError(messages::kWorkbook);
            case 'Z':
                done_ = true;
                pos += 1;
                break;
            default:
                return false;
            }
        }
    }
    bool done() const { return done_; }
    Sheet finish() { return builder_.finish(); }

private:
    // Rows come in order, each ended once.
    bool sameRow(std::uint32_t r) const { return r == row_; }
    SheetBuilder builder_;
    std::uint32_t row_ = 0;
    bool done_ = false;
};

struct Child {
    pid_t pid = -1;
    int fd = -1;
    ~Child() {
        if (fd >= 0) ::close(fd);
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
    // True when the child ended by itself with status 0.
    bool reap() {
        int status = 0;
        pid_t r;
        while ((r = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        pid = -1;
        return r > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
};

} // namespace

Sheet readXls(const std::filesystem::path& path) {
    const std::string name = path.string();
    int fds[2];
    // Close-on-exec, so that no program started meanwhile holds the pipe open.
    if (::pipe2(fds, O_CLOEXEC) != 0) throw IoError(messages::kWorkbook);
    Child child;
    child.pid = ::fork();
    if (child.pid == 0) {
        ::close(fds[0]);
        childReads(name.c_str(), fds[1]);
    }
    ::close(fds[1]);
    child.fd = fds[0];
    if (child.pid < 0) throw IoError(messages::kWorkbook);

    StreamReader stream;
    std::string bytes;
    std::size_t pos = 0;
    const auto deadline = std::chrono::steady_clock::now() + kWallTime;
    char buffer[1 << 16];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) throw IoError(messages::kWorkbook);
        pollfd p{child.fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) throw IoError(messages::kWorkbook);
        const ssize_t n = ::read(child.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw IoError(messages::kWorkbook);
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (!stream.take(bytes, pos)) throw IoError(messages::kWorkbook);
        bytes.erase(0, pos);
        pos = 0;
    }
    if (!stream.done() || !bytes.empty() || !child.reap()) throw IoError(messages::kWorkbook);
    return stream.finish();
}

} // namespace kelvora::identify
