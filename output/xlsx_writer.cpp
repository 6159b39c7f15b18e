#include "output/xlsx_writer.h"

#include "kernel/errors.h"

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <locale.h>
#include <string_view>
#include <vector>

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
    const std::string text = "无法写入 .xlsx 文件 " + path + "：" + lxw_strerror(error);
    if (error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_ZIP_FILE_OPERATION ||
        error == LXW_ERROR_CREATING_TMPFILE || error == LXW_ERROR_READING_TMPFILE ||
        error == LXW_ERROR_ZIP_CLOSE)
        throw IoError(text);
    throw Error(text);
}

[[noreturn]] void failVerify(const std::string& path, const std::string& what) {
    throw IoError("保存的文件 " + path + " 不完整（" + what + "），可能是磁盘空间不足");
}

std::uint16_t get16(std::string_view d, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(d[at]) |
                                      static_cast<unsigned char>(d[at + 1]) << 8);
}
std::uint32_t get32(std::string_view d, std::size_t at) {
    return static_cast<std::uint32_t>(get16(d, at)) | static_cast<std::uint32_t>(get16(d, at + 2)) << 16;
}

// What one member's content must satisfy, gathered while it inflates.
struct MemberCheck {
    static constexpr std::size_t kTail = 128;
    bool countCells = false;
    std::uint64_t cells = 0;
    int matched = 0; // characters of "<c " seen so far
    std::string head, tail;

    void feed(const char* p, std::size_t n) {
        if (head.size() < 512) head.append(p, std::min(n, 512 - head.size()));
        if (n >= kTail)
            tail.assign(p + n - kTail, kTail);
        else
            tail.append(p, n).erase(0, tail.size() > kTail ? tail.size() - kTail : 0);
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

void inflateMember(const std::string& path, std::string_view data, std::uint16_t method, std::uint32_t crc,
                   std::uint32_t size, MemberCheck& check) {
    std::uint32_t actualCrc = crc32(0, nullptr, 0);
    std::uint64_t actualSize = 0;
    auto consume = [&](const char* p, std::size_t n) {
        actualCrc = crc32(actualCrc, reinterpret_cast<const Bytef*>(p), static_cast<uInt>(n));
        actualSize += n;
        check.feed(p, n);
    };
    if (method == 0) {
        consume(data.data(), data.size());
    } else if (method == 8) {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) failVerify(path, "无法解压");
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        z.avail_in = static_cast<uInt>(data.size());
        std::vector<char> buffer(1 << 18);
        int status = Z_OK;
        while (status == Z_OK) {
            z.next_out = reinterpret_cast<Bytef*>(buffer.data());
            z.avail_out = static_cast<uInt>(buffer.size());
            status = inflate(&z, Z_NO_FLUSH);
            consume(buffer.data(), buffer.size() - z.avail_out);
            if (status == Z_BUF_ERROR && z.avail_in == 0) break;
        }
        inflateEnd(&z);
        if (status != Z_STREAM_END) failVerify(path, "压缩数据损坏");
    } else {
        failVerify(path, "未知的压缩方式");
    }
    if (actualCrc != crc || actualSize != size) failVerify(path, "校验和不符");
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
    const lxw_error closed = workbook_close(workbook);
    if (error != LXW_NO_ERROR) failWrite(name, error);
    if (closed != LXW_NO_ERROR) failWrite(name, closed);
    verifyXlsxPackage(path, cellCount, name);
}

void verifyXlsxPackage(const std::string& packagePath, std::uint64_t expectedCells,
                       const std::string& shownAs) {
    const std::string& path = shownAs.empty() ? packagePath : shownAs;
    std::ifstream in(packagePath, std::ios::binary);
    if (!in) failVerify(path, "无法读回");
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) failVerify(path, "无法读回");
    const std::string_view d = file;

    // End of central directory, possibly followed by a comment.
    constexpr std::size_t kEocd = 22;
    if (d.size() < kEocd) failVerify(path, "缺少目录");
    std::size_t eocd = std::string_view::npos;
    for (std::size_t at = d.size() - kEocd + 1; at-- > 0 && d.size() - at <= kEocd + 0xFFFF;) {
        if (get32(d, at) == 0x06054b50) {
            eocd = at;
            break;
        }
    }
    if (eocd == std::string_view::npos) failVerify(path, "缺少目录");
    const std::uint16_t members = get16(d, eocd + 10);
    std::size_t at = get32(d, eocd + 16);

    bool sawSheet = false;
    for (std::uint16_t m = 0; m < members; ++m) {
        if (at + 46 > d.size() || get32(d, at) != 0x02014b50) failVerify(path, "目录损坏");
        const std::uint16_t method = get16(d, at + 10);
        const std::uint32_t crc = get32(d, at + 16);
        const std::uint32_t packed = get32(d, at + 20);
        const std::uint32_t size = get32(d, at + 24);
        const std::uint16_t nameLength = get16(d, at + 28);
        const std::size_t next = at + 46 + nameLength + get16(d, at + 30) + get16(d, at + 32);
        const std::size_t local = get32(d, at + 42);
        if (next > d.size()) failVerify(path, "目录损坏");
        const std::string_view name = d.substr(at + 46, nameLength);
        if (local + 30 > d.size() || get32(d, local) != 0x04034b50) failVerify(path, "成员损坏");
        const std::size_t dataStart = local + 30 + get16(d, local + 26) + get16(d, local + 28);
        if (dataStart + packed > d.size()) failVerify(path, "成员被截断");

        MemberCheck check;
        check.countCells = name == "xl/worksheets/sheet1.xml";
        inflateMember(path, d.substr(dataStart, packed), method, crc, size, check);
        const bool xml = name.ends_with(".xml") || name.ends_with(".rels");
        if (xml && !check.closesRoot()) failVerify(path, std::string(name) + " 被截断");
        if (check.countCells) {
            sawSheet = true;
            if (check.cells != expectedCells)
                failVerify(path, "工作表有 " + std::to_string(check.cells) + " 个单元格，应为 " +
                                     std::to_string(expectedCells));
        }
        at = next;
    }
    if (!sawSheet) failVerify(path, "缺少工作表");
}

} // namespace kelvora::output
