#include "output/biff8_writer.h"

#include "output/cfb_writer.h"

#include "kernel/errors.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kelvora::output {

namespace {

// Record data beyond this goes into CONTINUE records.
constexpr std::size_t kMaxRecordData = 8224;
constexpr std::uint32_t kRowsPerBlock = 32;
// The default cell XF; XFs 0–14 are style XFs.
constexpr std::uint16_t kCellXf = 15;
constexpr std::uint16_t kDefaultRowHeight = 0x00FF; // twips, for 10-point Arial

namespace rec {
constexpr std::uint16_t Bof = 0x0809, Eof = 0x000A, InterfaceHdr = 0x00E1, Mms = 0x00C1,
                        InterfaceEnd = 0x00E2, WriteAccess = 0x005C, CodePage = 0x0042, Dsf = 0x0161,
                        RRTabId = 0x013D, WinProtect = 0x0019, Protect = 0x0012, Password = 0x0013,
                        Prot4Rev = 0x01AF, Prot4RevPass = 0x01BC, Window1 = 0x003D, Backup = 0x0040,
                        HideObj = 0x008D, Date1904 = 0x0022, CalcPrecision = 0x000E, RefreshAll = 0x01B7,
                        BookBool = 0x00DA, Font = 0x0031, Format = 0x041E, Xf = 0x00E0, Style = 0x0293,
                        UsesElfs = 0x0160, BoundSheet8 = 0x0085, Country = 0x008C, Sst = 0x00FC,
                        Continue = 0x003C, ExtSst = 0x00FF, Index = 0x020B, CalcMode = 0x000D,
                        CalcCount = 0x000C, CalcRefMode = 0x000F, CalcIter = 0x0011, CalcDelta = 0x0010,
                        CalcSaveRecalc = 0x005F, PrintRowCol = 0x002A, PrintGrid = 0x002B, GridSet = 0x0082,
                        Guts = 0x0080, DefaultRowHeight = 0x0225, WsBool = 0x0081, Header = 0x0014,
                        Footer = 0x0015, HCenter = 0x0083, VCenter = 0x0084, Setup = 0x00A1,
                        DefColWidth = 0x0055, Dimensions = 0x0200, Row = 0x0208, Number = 0x0203, Rk = 0x027E,
                        MulRk = 0x00BD, LabelSst = 0x00FD, DbCell = 0x00D7, Window2 = 0x023E,
                        Selection = 0x001D;
} // namespace rec

void put8(std::string& out, std::uint8_t v) {
    out.push_back(static_cast<char>(v));
}
void put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
}
void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(v >> (8 * i)));
}
void putDouble(std::string& out, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>(bits >> (8 * i)));
}
void patch32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>(v >> (8 * i));
}

// Writes one record; the length is filled in when the scope closes.
class Record {
public:
    Record(std::string& out, std::uint16_t id) : out_(out), start_(out.size()) {
        put16(out_, id);
        put16(out_, 0);
    }
    ~Record() {
        const std::size_t length = out_.size() - start_ - 4;
        out_[start_ + 2] = static_cast<char>(length);
        out_[start_ + 3] = static_cast<char>(length >> 8);
    }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

private:
    std::string& out_;
    std::size_t start_;
};

void record16(std::string& out, std::uint16_t id, std::uint16_t value) {
    Record r(out, id);
    put16(out, value);
}
void emptyRecord(std::string& out, std::uint16_t id) {
    Record r(out, id);
}

// UTF-8 to UTF-16; a byte that does not start a valid sequence becomes U+FFFD.
std::u16string toUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else {
            const std::size_t need = b >= 0xF0 && b < 0xF5   ? 4
                                     : b >= 0xE0             ? 3
                                     : b >= 0xC2 && b < 0xE0 ? 2
                                                             : 0;
            if (need > 0 && i + need <= s.size()) {
                char32_t v = b & (0x7F >> need);
                bool ok = true;
                for (std::size_t k = 1; k < need && ok; ++k) {
                    const auto c = static_cast<unsigned char>(s[i + k]);
                    ok = (c & 0xC0) == 0x80;
                    v = (v << 6) | (c & 0x3F);
                }
                const bool minimal = need == 2 || (need == 3 && v >= 0x800) || (need == 4 && v >= 0x10000);
                if (ok && minimal && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
                    cp = v;
                    len = need;
                }
            }
        }
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

// Characters below U+0100 are stored one byte each (the "compressed" form).
bool fitsCompressed(std::u16string_view s) {
    for (char16_t c : s)
        if (c > 0xFF) return false;
    return true;
}

void putChars(std::string& out, std::u16string_view s, bool compressed) {
    for (char16_t c : s) {
        if (compressed)
            put8(out, static_cast<std::uint8_t>(c));
        else
            put16(out, static_cast<std::uint16_t>(c));
    }
}

// XLUnicodeString: 16-bit length, flags, characters.
void putUnicodeString(std::string& out, std::string_view utf8) {
    const std::u16string s = toUtf16(utf8);
    const bool compressed = fitsCompressed(s);
    put16(out, static_cast<std::uint16_t>(s.size()));
    put8(out, compressed ? 0 : 1);
    putChars(out, s, compressed);
}

// ShortXLUnicodeString: 8-bit length, flags, characters.
void putShortUnicodeString(std::string& out, std::string_view utf8) {
    const std::u16string s = toUtf16(utf8);
    const bool compressed = fitsCompressed(s);
    put8(out, static_cast<std::uint8_t>(s.size()));
    put8(out, compressed ? 0 : 1);
    putChars(out, s, compressed);
}

// RK: a 30-bit integer or the top 30 bits of a double, either one possibly divided by
// 100. Readers compute integer / 100.0, which is the correctly rounded quotient, and
// equals the value whenever the check below holds.
std::optional<std::uint32_t> rkValue(double v) {
    constexpr double kLimit = 1 << 29;
    if (v >= -kLimit && v < kLimit && v == std::trunc(v) && !(v == 0 && std::signbit(v)))
        return (static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) << 2) | 2u;
    const double hundredfold = std::nearbyint(v * 100);
    if (hundredfold >= -kLimit && hundredfold < kLimit && hundredfold / 100.0 == v)
        return (static_cast<std::uint32_t>(static_cast<std::int32_t>(hundredfold)) << 2) | 3u;
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    if ((bits & 0x3FFFFFFFFull) == 0) return static_cast<std::uint32_t>(bits >> 32);
    return std::nullopt;
}

// The shared strings in order of first use.
class SharedStrings {
public:
    std::uint32_t add(std::string_view text) {
        ++references_;
        const auto [it, inserted] = index_.try_emplace(text, static_cast<std::uint32_t>(strings_.size()));
        if (inserted) {
            strings_.push_back(toUtf16(text));
            if (strings_.back().size() > kMaxCellTextLength)
                throw Error("单元格文字超过 " + std::to_string(kMaxCellTextLength) + " 个字符，无法保存");
        }
        return it->second;
    }
    const std::vector<std::u16string>& strings() const { return strings_; }
    std::uint32_t references() const { return references_; }

private:
    std::unordered_map<std::string_view, std::uint32_t> index_;
    std::vector<std::u16string> strings_;
    std::uint32_t references_ = 0;
};

// The row blocks of the sheet: up to 32 rows each, their ROW records, then their cells,
// then a DBCELL pointing back at both.
class CellTable {
public:
    CellTable(std::string& out, SharedStrings& sst) : out_(out), sst_(sst) {}

    void addRow(std::uint64_t row, std::span<const Cell> cells) {
        const auto rw = static_cast<std::uint32_t>(row - 1);
        while (block_ < rw / kRowsPerBlock)
            flushBlock();
        if (!firstRow_) firstRow_ = rw;
        lastRow_ = rw;
        lastColumn_ =
            std::max<std::uint32_t>(lastColumn_, static_cast<std::uint32_t>(cells.back().column - 1));

        {
            Record r(rows_, rec::Row);
            put16(rows_, static_cast<std::uint16_t>(rw));
            put16(rows_, static_cast<std::uint16_t>(cells.front().column - 1));
            put16(rows_, static_cast<std::uint16_t>(cells.back().column));
            put16(rows_, kDefaultRowHeight);
            put16(rows_, 0);
            put16(rows_, 0);
            put16(rows_, 0x0100);
            put16(rows_, kCellXf);
        }
        rowCellStarts_.push_back(static_cast<std::uint32_t>(cells_.size()));
        writeCells(static_cast<std::uint16_t>(rw), cells);
    }

    void finish() { flushBlock(); }

    const std::vector<std::uint32_t>& dbCellOffsets() const { return dbCells_; }
    std::uint32_t firstRow() const { return firstRow_.value_or(0); }
    std::uint32_t lastRow() const { return lastRow_; }
    std::uint32_t lastColumn() const { return lastColumn_; }

private:
    void writeCells(std::uint16_t rw, std::span<const Cell> cells) {
        for (std::size_t i = 0; i < cells.size();) {
            const Cell& c = cells[i];
            const auto col = static_cast<std::uint16_t>(c.column - 1);
            if (!c.number) {
                Record r(cells_, rec::LabelSst);
                put16(cells_, rw);
                put16(cells_, col);
                put16(cells_, kCellXf);
                put32(cells_, sst_.add(c.text));
                ++i;
                continue;
            }
            const auto rk = rkValue(*c.number);
            if (!rk) {
                Record r(cells_, rec::Number);
                put16(cells_, rw);
                put16(cells_, col);
                put16(cells_, kCellXf);
                putDouble(cells_, *c.number);
                ++i;
                continue;
            }
            // A run of RK numbers in adjacent columns shares one MULRK record.
            std::size_t end = i + 1;
            std::vector<std::uint32_t>& run = rkRun_;
            run.assign(1, *rk);
            while (end < cells.size() && cells[end].column == cells[end - 1].column + 1 &&
                   cells[end].number) {
                const auto next = rkValue(*cells[end].number);
                if (!next) break;
                run.push_back(*next);
                ++end;
            }
            if (run.size() == 1) {
                Record r(cells_, rec::Rk);
                put16(cells_, rw);
                put16(cells_, col);
                put16(cells_, kCellXf);
                put32(cells_, run[0]);
            } else {
                Record r(cells_, rec::MulRk);
                put16(cells_, rw);
                put16(cells_, col);
                for (const std::uint32_t v : run) {
                    put16(cells_, kCellXf);
                    put32(cells_, v);
                }
                put16(cells_, static_cast<std::uint16_t>(col + run.size() - 1));
            }
            i = end;
        }
    }

    void flushBlock() {
        const std::size_t rowStart = out_.size();
        out_ += rows_;
        out_ += cells_;
        const std::size_t dbCell = out_.size();
        dbCells_.push_back(static_cast<std::uint32_t>(dbCell));
        {
            Record r(out_, rec::DbCell);
            const std::size_t rowCount = rowCellStarts_.size();
            put32(out_, rowCount == 0 ? 0 : static_cast<std::uint32_t>(dbCell - rowStart));
            for (std::size_t j = 0; j < rowCount; ++j) {
                const std::uint32_t offset = j == 0 ? static_cast<std::uint32_t>((rowCount - 1) * 20)
                                                    : rowCellStarts_[j] - rowCellStarts_[j - 1];
                put16(out_, static_cast<std::uint16_t>(offset));
            }
        }
        rows_.clear();
        cells_.clear();
        rowCellStarts_.clear();
        ++block_;
    }

    std::string& out_;
    SharedStrings& sst_;
    std::string rows_, cells_;
    std::vector<std::uint32_t> rowCellStarts_, rkRun_, dbCells_;
    std::uint32_t block_ = 0;
    std::optional<std::uint32_t> firstRow_;
    std::uint32_t lastRow_ = 0, lastColumn_ = 0;
};

// SST and its CONTINUE records. A string's header and first character always share a
// record; a string cut at a record boundary goes on after a fresh flags byte.
class SstWriter {
public:
    explicit SstWriter(std::string& out) : out_(out) {}

    void write(const SharedStrings& sst, std::string& extSst) {
        const auto& strings = sst.strings();
        const std::size_t unique = strings.size();
        // Excel keeps the EXTSST index at no more than 128 buckets of at least 8 strings.
        const std::size_t perBucket = std::max<std::size_t>(8, (unique + 127) / 128);
        std::vector<std::pair<std::uint32_t, std::uint16_t>> buckets;

        begin(rec::Sst);
        put32(out_, sst.references());
        put32(out_, static_cast<std::uint32_t>(unique));
        for (std::size_t i = 0; i < unique; ++i) {
            const std::u16string_view s = strings[i];
            const bool compressed = fitsCompressed(s);
            const std::size_t unit = compressed ? 1 : 2;
            if (room() < 3 + unit * codePointLength(s, 0)) begin(rec::Continue);
            if (i % perBucket == 0)
                buckets.emplace_back(static_cast<std::uint32_t>(out_.size()),
                                     static_cast<std::uint16_t>(out_.size() - recordStart_));
            put16(out_, static_cast<std::uint16_t>(s.size()));
            put8(out_, compressed ? 0 : 1);
            std::size_t at = 0;
            while (at < s.size()) {
                std::size_t take = 0;
                while (at + take < s.size()) {
                    const std::size_t cp = codePointLength(s, at + take);
                    if ((take + cp) * unit > room()) break;
                    take += cp;
                }
                if (take == 0) {
                    begin(rec::Continue);
                    put8(out_, compressed ? 0 : 1);
                    continue;
                }
                putChars(out_, s.substr(at, take), compressed);
                at += take;
            }
        }
        end();

        Record r(extSst, rec::ExtSst);
        put16(extSst, static_cast<std::uint16_t>(perBucket));
        for (const auto& [position, offset] : buckets) {
            put32(extSst, position);
            put16(extSst, offset);
            put16(extSst, 0);
        }
    }

private:
    static std::size_t codePointLength(std::u16string_view s, std::size_t at) {
        if (at >= s.size()) return 0;
        const bool pair = s[at] >= 0xD800 && s[at] < 0xDC00 && at + 1 < s.size() && s[at + 1] >= 0xDC00 &&
                          s[at + 1] < 0xE000;
        return pair ? 2 : 1;
    }
    std::size_t room() const { return kMaxRecordData - (out_.size() - recordStart_ - 4); }
    void begin(std::uint16_t id) {
        if (open_) end();
        recordStart_ = out_.size();
        put16(out_, id);
        put16(out_, 0);
        open_ = true;
    }
    void end() {
        const std::size_t length = out_.size() - recordStart_ - 4;
        out_[recordStart_ + 2] = static_cast<char>(length);
        out_[recordStart_ + 3] = static_cast<char>(length >> 8);
        open_ = false;
    }

    std::string& out_;
    std::size_t recordStart_ = 0;
    bool open_ = false;
};

void writeBof(std::string& out, std::uint16_t type) {
    Record r(out, rec::Bof);
    put16(out, 0x0600);
    put16(out, type);
    put16(out, 0x0DBB);     // build
    put16(out, 0x07CD);     // 1997
    put32(out, 0x00000009); // last edited on Windows
    put32(out, 0x00000006); // lowest BIFF version: 8
}

void writeFont(std::string& out) {
    Record r(out, rec::Font);
    put16(out, 200); // 10 points, in twips
    put16(out, 0);
    put16(out, 0x7FFF); // automatic colour
    put16(out, 400);    // normal weight
    put16(out, 0);
    put8(out, 0);
    put8(out, 2); // Swiss family
    put8(out, 0); // ANSI character set
    put8(out, 0);
    putShortUnicodeString(out, "Arial");
}

// A default XF as Excel writes it: bottom-aligned, no borders, automatic colours.
void writeXf(std::string& out, std::uint16_t font, std::uint16_t format, bool style,
             std::uint8_t attributes) {
    Record r(out, rec::Xf);
    put16(out, font);
    put16(out, format);
    put16(out, style ? 0xFFF5 : 0x0001); // locked; a style XF has no parent
    put8(out, 0x20);
    put8(out, 0);
    put8(out, 0);
    put8(out, attributes);
    put32(out, 0);
    put32(out, 0);
    put16(out, 0x20C0);
}

void writeGlobals(std::string& out, const SharedStrings& sst, std::span<const std::string_view> sheetNames,
                  std::vector<std::size_t>& boundSheetPositions) {
    writeBof(out, 0x0005);
    record16(out, rec::InterfaceHdr, 1200);
    record16(out, rec::Mms, 0);
    emptyRecord(out, rec::InterfaceEnd);
    {
        Record r(out, rec::WriteAccess);
        const std::size_t start = out.size();
        putUnicodeString(out, "Kelvora");
        out.append(112 - (out.size() - start), ' ');
    }
    record16(out, rec::CodePage, 1200);
    record16(out, rec::Dsf, 0);
    record16(out, rec::RRTabId, 1);
    record16(out, rec::WinProtect, 0);
    record16(out, rec::Protect, 0);
    record16(out, rec::Password, 0);
    record16(out, rec::Prot4Rev, 0);
    record16(out, rec::Prot4RevPass, 0);
    {
        Record r(out, rec::Window1);
        put16(out, 0);
        put16(out, 0);
        put16(out, 0x3FFF);
        put16(out, 0x2000);
        put16(out, 0x0038); // scroll bars and sheet tabs shown
        put16(out, 0);      // active sheet
        put16(out, 0);      // first tab shown
        put16(out, 1);      // selected sheets
        put16(out, 600);    // tab bar ratio, per mille
    }
    record16(out, rec::Backup, 0);
    record16(out, rec::HideObj, 0);
    record16(out, rec::Date1904, 0);
    record16(out, rec::CalcPrecision, 1);
    record16(out, rec::RefreshAll, 0);
    record16(out, rec::BookBool, 0);
    // Font index 4 does not exist in BIFF; four fonts cover the default XFs.
    for (int i = 0; i < 4; ++i)
        writeFont(out);

    static constexpr struct {
        std::uint16_t index;
        const char* code;
    } kFormats[] = {
        {5, R"("$"#,##0_);\("$"#,##0\))"},
        {6, R"("$"#,##0_);[Red]\("$"#,##0\))"},
        {7, R"("$"#,##0.00_);\("$"#,##0.00\))"},
        {8, R"("$"#,##0.00_);[Red]\("$"#,##0.00\))"},
        {42, R"(_("$"* #,##0_);_("$"* \(#,##0\);_("$"* "-"_);_(@_))"},
        {41, R"(_(* #,##0_);_(* \(#,##0\);_(* "-"_);_(@_))"},
        {44, R"(_("$"* #,##0.00_);_("$"* \(#,##0.00\);_("$"* "-"??_);_(@_))"},
        {43, R"(_(* #,##0.00_);_(* \(#,##0.00\);_(* "-"??_);_(@_))"},
    };
    for (const auto& f : kFormats) {
        Record r(out, rec::Format);
        put16(out, f.index);
        putUnicodeString(out, f.code);
    }

    // Style XFs 0–14 (Normal and the outline-level styles), the cell XF 15, then the
    // style XFs of Comma, Comma [0], Currency, Currency [0] and Percent.
    writeXf(out, 0, 0, true, 0x00);
    for (std::uint16_t i = 1; i < 15; ++i)
        writeXf(out, i <= 2 ? 1 : i <= 4 ? 2 : 0, 0, true, 0xF4);
    writeXf(out, 0, 0, false, 0x00);
    for (const std::uint16_t format : {43, 41, 44, 42, 9})
        writeXf(out, 1, format, true, 0xF8);

    static constexpr struct {
        std::uint16_t xf;
        std::uint8_t builtIn;
    } kStyles[] = {{0, 0}, {16, 3}, {17, 6}, {18, 4}, {19, 7}, {20, 5}};
    for (const auto& s : kStyles) {
        Record r(out, rec::Style);
        put16(out, static_cast<std::uint16_t>(0x8000 | s.xf));
        put8(out, s.builtIn);
        put8(out, 0xFF);
    }

    record16(out, rec::UsesElfs, 0);
    for (const std::string_view name : sheetNames) {
        Record r(out, rec::BoundSheet8);
        boundSheetPositions.push_back(out.size());
        put32(out, 0); // the sheet's BOF, filled in once the globals are complete
        put8(out, 0);  // visible
        put8(out, 0);  // worksheet
        putShortUnicodeString(out, name);
    }
    {
        Record r(out, rec::Country);
        put16(out, 86);
        put16(out, 86);
    }
    std::string extSst;
    SstWriter(out).write(sst, extSst);
    out += extSst;
    emptyRecord(out, rec::Eof);
}

// A worksheet's records before its cells, their offsets counted from the sheet's BOF at
// `sheetStart` in the stream.
void writeSheetHead(std::string& head, const CellTable& table, std::uint32_t sheetStart) {
    writeBof(head, 0x0010);
    std::size_t defColWidthField = 0;
    const std::size_t indexStart = head.size();
    {
        Record r(head, rec::Index);
        put32(head, 0);
        put32(head, table.firstRow());
        put32(head, table.lastRow() + 1);
        defColWidthField = head.size();
        put32(head, 0);
        for (std::size_t i = 0; i < table.dbCellOffsets().size(); ++i)
            put32(head, 0);
    }
    record16(head, rec::CalcMode, 1); // automatic
    record16(head, rec::CalcCount, 100);
    record16(head, rec::CalcRefMode, 1); // A1 references
    record16(head, rec::CalcIter, 0);
    {
        Record r(head, rec::CalcDelta);
        putDouble(head, 0.001);
    }
    record16(head, rec::CalcSaveRecalc, 1);
    record16(head, rec::PrintRowCol, 0);
    record16(head, rec::PrintGrid, 0);
    record16(head, rec::GridSet, 1);
    {
        Record r(head, rec::Guts);
        put32(head, 0);
        put32(head, 0);
    }
    {
        Record r(head, rec::DefaultRowHeight);
        put16(head, 0);
        put16(head, kDefaultRowHeight);
    }
    record16(head, rec::WsBool, 0x04C1);
    emptyRecord(head, rec::Header);
    emptyRecord(head, rec::Footer);
    record16(head, rec::HCenter, 0);
    record16(head, rec::VCenter, 0);
    {
        Record r(head, rec::Setup);
        put16(head, 0);      // paper size: printer default
        put16(head, 100);    // scale
        put16(head, 1);      // first page number
        put16(head, 1);      // fit width
        put16(head, 1);      // fit height
        put16(head, 0x0006); // portrait, no printer settings
        put16(head, 600);
        put16(head, 600);
        putDouble(head, 0.5); // header margin, inches
        putDouble(head, 0.5); // footer margin
        put16(head, 1);       // copies
    }
    const auto defColWidth = static_cast<std::uint32_t>(sheetStart + head.size());
    record16(head, rec::DefColWidth, 8);
    {
        Record r(head, rec::Dimensions);
        put32(head, table.firstRow());
        put32(head, table.lastRow() + 1);
        put16(head, 0);
        put16(head, static_cast<std::uint16_t>(table.lastColumn() + 1));
        put16(head, 0);
    }
    patch32(head, defColWidthField, defColWidth);
    const auto cellTableStart = static_cast<std::uint32_t>(sheetStart + head.size());
    for (std::size_t i = 0; i < table.dbCellOffsets().size(); ++i)
        patch32(head, indexStart + 4 + 16 + 4 * i, cellTableStart + table.dbCellOffsets()[i]);

}

void writeSheetTail(std::string& tail, bool selected) {
    {
        Record r(tail, rec::Window2);
        // Grid, headers, zeros, outline symbols shown; the first sheet selected and active.
        put16(tail, selected ? 0x06B6 : 0x00B6);
        put16(tail, 0);
        put16(tail, 0);
        put16(tail, 0x40); // automatic grid colour
        put16(tail, 0);
        put16(tail, 0);
        put16(tail, 0);
        put32(tail, 0);
    }
    {
        Record r(tail, rec::Selection);
        put8(tail, 3); // the only pane
        put16(tail, 0);
        put16(tail, 0);
        put16(tail, 0);
        put16(tail, 1);
        put16(tail, 0);
        put16(tail, 0);
        put8(tail, 0);
        put8(tail, 0);
    }
    emptyRecord(tail, rec::Eof);

}

} // namespace

void checkXlsLimits(const SheetLayout& layout) {
    if (layout.lastRow() > kXlsMaxRows)
        throw Error("容积表需要 " + std::to_string(layout.lastRow()) + " 行，超出 .xls 工作表的上限 " +
                    std::to_string(kXlsMaxRows) + " 行；请减小每列条数，或保存为 .xlsx 格式");
    if (layout.lastColumn() > kXlsMaxColumns)
        throw Error("容积表需要 " + std::to_string(layout.lastColumn()) + " 列，超出 .xls 工作表的上限 " +
                    std::to_string(kXlsMaxColumns) + " 列；请增大每列条数，或保存为 .xlsx 格式");
}

Biff8Stream buildBiff8Stream(const SheetLayout& layout, std::span<const DocumentField> tank,
                             std::span<const TextSheet> extra) {
    checkXlsLimits(layout);
    Biff8Stream stream;
    SharedStrings sst;

    CellTable table(stream.cellTable, sst);
    stream.cellTable.reserve(static_cast<std::size_t>(layout.entryCount()) * 14 + 4096);
    layout.forEachRow([&](std::uint64_t row, std::span<const Cell> cells) { table.addRow(row, cells); });
    table.finish();

    // The tank's sheet shares the strings; its own come after the table's.
    std::string tankCells;
    CellTable tankTable(tankCells, sst);
    for (std::size_t i = 0; i < tank.size(); ++i) {
        // An empty value leaves its cell empty.
        const Cell cells[] = {{i + 1, 1, tank[i].label, std::nullopt}, {i + 1, 2, tank[i].value, std::nullopt}};
        tankTable.addRow(i + 1, std::span(cells, tank[i].value.empty() ? 1 : 2));
    }
    tankTable.finish();

    // The further sheets share the strings too, after the tank's.
    std::vector<std::string> extraCells(extra.size());
    std::vector<std::unique_ptr<CellTable>> extraTables;
    for (std::size_t k = 0; k < extra.size(); ++k) {
        if (extra[k].rows.size() > kXlsMaxRows)
            throw Error("“" + extra[k].name + "”需要 " + std::to_string(extra[k].rows.size()) +
                        " 行，超出 .xls 工作表的上限 " + std::to_string(kXlsMaxRows) +
                        " 行；请保存为 .xlsx 格式");
        extraTables.push_back(std::make_unique<CellTable>(extraCells[k], sst));
        for (std::size_t r = 0; r < extra[k].rows.size(); ++r) {
            std::vector<Cell> cells;
            for (std::size_t c = 0; c < extra[k].rows[r].size(); ++c)
                if (const std::string& text = extra[k].rows[r][c]; !text.empty())
                    cells.push_back({r + 1, c + 1, text, cellNumber(text)});
            if (!cells.empty()) extraTables[k]->addRow(r + 1, cells);
        }
        extraTables[k]->finish();
    }

    std::vector<std::string_view> names{kTableSheetName};
    if (!tank.empty()) names.push_back(kTankSheetName);
    for (const auto& sheet : extra)
        names.push_back(sheet.name);
    std::vector<std::size_t> boundSheetPositions;
    writeGlobals(stream.globals, sst, names, boundSheetPositions);
    const auto sheetStart = static_cast<std::uint32_t>(stream.globals.size());
    patch32(stream.globals, boundSheetPositions[0], sheetStart);

    writeSheetHead(stream.sheetHead, table, sheetStart);
    writeSheetTail(stream.sheetTail, true);
    if (!tank.empty()) {
        const auto tankStart = static_cast<std::uint32_t>(sheetStart + stream.sheetHead.size() +
                                                          stream.cellTable.size() + stream.sheetTail.size());
        patch32(stream.globals, boundSheetPositions[1], tankStart);
        writeSheetHead(stream.tankSheet, tankTable, tankStart);
        stream.tankSheet += tankCells;
        writeSheetTail(stream.tankSheet, false);
    }
    for (std::size_t k = 0; k < extra.size(); ++k) {
        const auto start =
            static_cast<std::uint32_t>(sheetStart + stream.sheetHead.size() + stream.cellTable.size() +
                                       stream.sheetTail.size() + stream.tankSheet.size());
        patch32(stream.globals, boundSheetPositions[(tank.empty() ? 1 : 2) + k], start);
        std::string sheet;
        writeSheetHead(sheet, *extraTables[k], start);
        sheet += extraCells[k];
        writeSheetTail(sheet, false);
        stream.tankSheet += sheet;
    }
    const std::string& head = stream.sheetHead;
    const std::string& tail = stream.sheetTail;
    if (stream.globals.size() + head.size() + stream.cellTable.size() + tail.size() + stream.tankSheet.size() >=
        (std::size_t{1} << 31))
        throw Error("工作簿过大，超出 .xls 文件的上限 2 GB，请保存为 .xlsx 格式");
    return stream;
}

void writeXls(const SheetLayout& layout, ByteSink& sink, std::span<const DocumentField> tank,
              std::span<const TextSheet> extra) {
    const Biff8Stream stream = buildBiff8Stream(layout, tank, extra);
    const auto parts = stream.parts();
    writeCompoundFile(sink, "Workbook", parts, kExcelWorkbookClsid);
}

} // namespace kelvora::output
