#include "output/xlsx_writer.h"

#include "kernel/errors.h"

#include <xlsxwriter.h>

#include <atomic>
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

[[noreturn]] void failWrite(const std::string& path, lxw_error error) {
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        throw Error("单元格文字超过 " + std::to_string(kMaxCellTextLength) + " 个字符，无法保存");
    const std::string text = "无法写入 .xlsx 文件 " + path + "：" + lxw_strerror(error);
    if (error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_ZIP_FILE_OPERATION ||
        error == LXW_ERROR_CREATING_TMPFILE || error == LXW_ERROR_READING_TMPFILE ||
        error == LXW_ERROR_ZIP_CLOSE)
        throw IoError(text);
    throw Error(text);
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
    writerDone.store(true, std::memory_order_release);
    const bool checkedAlongside = checker.joinable();
    if (checkedAlongside) checker.join();
    if (error != LXW_NO_ERROR) failWrite(name, error);
    if (closed != LXW_NO_ERROR) failWrite(name, closed);
    if (!checkedAlongside) checkXlsxPackage(path, cellCount, name, writerDone);
    if (checkFailure) std::rethrow_exception(checkFailure);
}

} // namespace kelvora::output
