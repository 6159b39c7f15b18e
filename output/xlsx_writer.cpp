#include "output/xlsx_writer.h"

#include "kernel/errors.h"
#include "persist/io_error.h"

#include <xlsxwriter.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <exception>
#include <locale.h>
#include <system_error>
#include <thread>

namespace kelvora::output {

namespace {

// libxlsxwriter prints numbers with "%.16G", which follows LC_NUMERIC; a sheet needs ".".
class CNumericLocale {
public:
    CNumericLocale() {
        if (c_) previous_ = uselocale(c_);
    }
    ~CNumericLocale() {
        if (previous_) uselocale(previous_);
        if (c_) freelocale(c_);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t c_ = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    locale_t previous_ = nullptr;
};

// libxlsxwriter reports its failures by printing "[ERROR] ..." lines to standard error;
// the user is told by the save's own message instead. The program writes one workbook at
// a time and prints nothing else meanwhile, so the process-wide redirection is safe.
class QuietStandardError {
public:
    QuietStandardError() {
        std::fflush(stderr);
        saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
        if (null >= 0) ::close(null);
    }
    ~QuietStandardError() {
        const int error = errno;
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
        errno = error;
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

// The errno values of a failed write that tell the user what to do.
bool namesTheCause(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG || error == EIO || error == EROFS ||
           error == EACCES || error == EPERM;
}

bool noSpaceLeft(const std::filesystem::path& dir) {
    struct statvfs info {};
    return ::statvfs(dir.c_str(), &info) == 0 && info.f_bavail == 0;
}

// Why the writing failed, as an errno value, or 0 when nothing tells. libxlsxwriter does
// not pass the system's error on, and ignores failed writes to its own temporary files,
// so the thread's last error is taken when it names a cause, and otherwise the usual
// causes are looked for: a full disk where the workbook or the library's temporary files
// go, a file-size limit.
int writeFailureCause(int lastError, const std::string& path) {
    if (namesTheCause(lastError)) return lastError;
    const std::filesystem::path dir = std::filesystem::path(path).parent_path();
    if (noSpaceLeft(dir.empty() ? std::filesystem::path(".") : dir) || noSpaceLeft(P_tmpdir)) return ENOSPC;
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) return EFBIG;
    return 0;
}

[[noreturn]] void failWrite(const std::string& name, lxw_error error, int lastError, const std::string& path) {
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        throw Error("单元格文字超过 " + std::to_string(kMaxCellTextLength) + " 个字符，无法保存");
    if (error == LXW_ERROR_MEMORY_MALLOC_FAILED) throw Error("无法保存“" + name + "”：内存不足");
    if (const int cause = writeFailureCause(lastError, path)) persist::throwIoError("无法写入文件", name, cause);
    throw IoError("无法写入文件“" + name + "”：生成 .xlsx 工作簿失败（" + std::to_string(static_cast<int>(error)) + "）");
}

} // namespace

void checkXlsxLimits(const SheetLayout& layout) {
    if (layout.lastRow() > kXlsxMaxRows)
        throw Error("容积表需要 " + std::to_string(layout.lastRow()) + " 行，超出 .xlsx 工作表的上限 " +
                    std::to_string(kXlsxMaxRows) + " 行；请减小每列条数");
    if (layout.lastColumn() > kXlsxMaxColumns)
        throw Error("容积表需要 " + std::to_string(layout.lastColumn()) + " 列，超出 .xlsx 工作表的上限 " +
                    std::to_string(kXlsxMaxColumns) + " 列；请增大每列条数");
}

void writeXlsx(const SheetLayout& layout, const std::string& path, const std::string& shownAs) {
    const std::string& name = shownAs.empty() ? path : shownAs;
    checkXlsxLimits(layout);
    const CNumericLocale cLocale;

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_FALSE;
    const QuietStandardError quiet;
    errno = 0;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    if (!workbook) throw Error("无法创建 .xlsx 工作簿：内存不足");
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    if (!sheet) {
        workbook_close(workbook);
        throw Error("无法创建 .xlsx 工作表");
    }

    lxw_error error = LXW_NO_ERROR;
    std::uint64_t cellCount = 0;
    std::string text;
    try {
        layout.forEachRow([&](std::uint64_t row, std::span<const Cell> cells) {
            for (const Cell& c : cells) {
                if (error != LXW_NO_ERROR) return;
                const auto r = static_cast<lxw_row_t>(row - 1);
                const auto col = static_cast<lxw_col_t>(c.column - 1);
                if (c.number) {
                    error = worksheet_write_number(sheet, r, col, *c.number, nullptr);
                } else {
                    text.assign(c.text);
                    error = worksheet_write_string(sheet, r, col, text.c_str(), nullptr);
                }
                ++cellCount;
            }
        });
    } catch (...) {
        workbook_close(workbook); // frees the workbook and its temporary files
        throw;
    }

    // The package is checked as it is written, on the other core: inflating keeps up with
    // libxlsxwriter's deflating, so the check costs no time of its own.
    std::atomic<bool> writerDone{false};
    std::exception_ptr checkFailure;
    std::thread checker;
    try {
        checker = std::thread([&] {
            try {
                checkXlsxPackage(path, cellCount, name, writerDone);
            } catch (...) {
                checkFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // No second thread: the package is checked once it is complete.
    }
    const lxw_error closed = workbook_close(workbook);
    const int lastError = errno; // this thread's: the checker's reads do not touch it
    writerDone.store(true, std::memory_order_release);
    const bool checkedAlongside = checker.joinable();
    if (checkedAlongside) checker.join();
    if (error != LXW_NO_ERROR) failWrite(name, error, lastError, path);
    if (closed != LXW_NO_ERROR) failWrite(name, closed, lastError, path);
    try {
        if (!checkedAlongside) checkXlsxPackage(path, cellCount, name, writerDone);
        if (checkFailure) std::rethrow_exception(checkFailure);
    } catch (const IoError&) {
        // A package cut short says nothing of why; the write's own cause does.
        if (const int cause = writeFailureCause(lastError, path)) persist::throwIoError("无法写入文件", name, cause);
        throw;
    }
}

} // namespace kelvora::output
