// The pointers inside the Workbook stream that no reader used in the suite follows, but
// Excel does: BOUNDSHEET → sheet BOF, INDEX → DEFCOLWIDTH and DBCELLs, DBCELL → ROW and
// first cells, EXTSST → string starts. Plus the record-size limit, and shared strings
// that really spread over many CONTINUE records.
#include "output/biff8_writer.h"

#include "expected_sheet.h"

#include <gtest/gtest.h>

#include <map>

namespace kelvora::output {
namespace {

struct RecordAt {
    std::uint16_t id, length;
    std::size_t data; // position of the record's data in the stream
};

class StreamView {
public:
    explicit StreamView(const Biff8Stream& s) {
        for (const auto part : s.parts())
            bytes_ += part;
        for (std::size_t at = 0; at + 4 <= bytes_.size();) {
            const RecordAt r{u16(at), u16(at + 2), at + 4};
            EXPECT_LE(r.length, 8224u) << "record " << r.id << " at " << at;
            records_.emplace(at, r);
            at += 4 + r.length;
        }
    }
    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes_[at]) |
                                          static_cast<unsigned char>(bytes_[at + 1]) << 8);
    }
    std::uint32_t u32(std::size_t at) const {
        return u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
    }
    // The record starting exactly at pos, if any.
    const RecordAt* at(std::size_t pos) const {
        const auto it = records_.find(pos);
        return it == records_.end() ? nullptr : &it->second;
    }
    std::vector<RecordAt> all(std::uint16_t id) const {
        std::vector<RecordAt> v;
        for (const auto& [pos, r] : records_)
            if (r.id == id) v.push_back(r);
        return v;
    }
    // The record whose data holds pos.
    const RecordAt* containing(std::size_t pos) const {
        auto it = records_.upper_bound(pos);
        if (it == records_.begin()) return nullptr;
        --it;
        return pos < it->second.data + it->second.length ? &it->second : nullptr;
    }

private:
    std::string bytes_;
    std::map<std::size_t, RecordAt> records_;
};

struct StructureCase {
    const char* name;
    std::vector<std::string> entries;
    const char* edit9;
    bool emptyBlocks = false;
    std::size_t minContinues = 0;
};

void PrintTo(const StructureCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::string> withGaps() {
    // Empty entries leave rows without cells, whole row blocks among them.
    std::vector<std::string> v;
    for (int i = 0; i < 300; ++i)
        v.push_back(i >= 40 && i < 200 ? "," : std::to_string(i) + ",t" + std::to_string(i));
    return v;
}

std::vector<std::string> texts(int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i)
        v.push_back(std::to_string(i) + ",备注" + std::to_string(i) + ",x");
    return v;
}

const StructureCase kCases[] = {
    {"Small", {"1,2", "3,a"}, "5"},
    {"RowBlocksWithGaps", withGaps(), "250", true},
    {"ManyStrings", texts(30000), "", false, 50},
};

class Biff8StructureTest : public ::testing::TestWithParam<StructureCase> {};

TEST_P(Biff8StructureTest, PointersLandOnTheirRecords) {
    const capacity::RowList rows = test::rowList(GetParam().entries);
    const StreamView s(buildBiff8Stream(SheetLayout(rows, GetParam().edit9, false)));

    const auto sheets = s.all(0x0085);
    ASSERT_EQ(sheets.size(), 1u);
    const RecordAt* bof = s.at(s.u32(sheets[0].data));
    ASSERT_TRUE(bof && bof->id == 0x0809);
    EXPECT_EQ(s.u16(bof->data + 2), 0x0010);

    const auto index = s.all(0x020B);
    ASSERT_EQ(index.size(), 1u);
    const RecordAt* defColWidth = s.at(s.u32(index[0].data + 12));
    ASSERT_TRUE(defColWidth && defColWidth->id == 0x0055);
    const std::size_t blocks = (index[0].length - 16u) / 4;
    EXPECT_EQ(blocks, s.all(0x00D7).size());
    EXPECT_EQ(blocks, (s.u32(index[0].data + 8) - 1) / 32 + 1);

    std::size_t rowsSeen = 0, emptyBlocks = 0;
    for (std::size_t b = 0; b < blocks; ++b) {
        const RecordAt* db = s.at(s.u32(index[0].data + 16 + 4 * b));
        ASSERT_TRUE(db && db->id == 0x00D7) << "block " << b;
        const std::uint32_t back = s.u32(db->data);
        const std::size_t rowCount = (db->length - 4u) / 2;
        if (rowCount == 0) {
            EXPECT_EQ(back, 0u);
            ++emptyBlocks;
            continue;
        }
        const std::size_t firstRow = db->data - 4 - back;
        std::size_t cell = firstRow + 20;
        for (std::size_t j = 0; j < rowCount; ++j) {
            const RecordAt* row = s.at(firstRow + 20 * j);
            ASSERT_TRUE(row && row->id == 0x0208) << "block " << b << " row " << j;
            EXPECT_EQ(s.u16(row->data) / 32, b);
            cell += s.u16(db->data + 4 + 2 * j);
            const RecordAt* first = s.at(cell);
            ASSERT_TRUE(first) << "block " << b << " row " << j;
            EXPECT_EQ(s.u16(first->data), s.u16(row->data)) << "first cell of row " << s.u16(row->data);
            EXPECT_EQ(s.u16(first->data + 2), s.u16(row->data + 2)) << "colMic of row " << s.u16(row->data);
            ++rowsSeen;
        }
    }
    EXPECT_EQ(rowsSeen, s.all(0x0208).size());
    EXPECT_EQ(emptyBlocks > 0, GetParam().emptyBlocks);
    EXPECT_GE(s.all(0x003C).size(), GetParam().minContinues);

    // EXTSST: each bucket's stream position is a string start inside SST or CONTINUE, at
    // the given offset from that record's header.
    const auto extSst = s.all(0x00FF);
    ASSERT_EQ(extSst.size(), 1u);
    const std::size_t buckets = (extSst[0].length - 2u) / 8;
    EXPECT_LE(buckets, 128u);
    for (std::size_t k = 0; k < buckets; ++k) {
        const std::size_t position = s.u32(extSst[0].data + 2 + 8 * k);
        const RecordAt* holder = s.containing(position);
        ASSERT_TRUE(holder && (holder->id == 0x00FC || holder->id == 0x003C)) << "bucket " << k;
        EXPECT_EQ(position - (holder->data - 4), s.u16(extSst[0].data + 2 + 8 * k + 4)) << "bucket " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, Biff8StructureTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });


// With the tank's sheet: two BOUNDSHEETs, each on its worksheet's BOF, and each sheet's
// INDEX pointing at its own DEFCOLWIDTH and DBCELL records.
TEST(Biff8TankSheetTest, BothSheetsPointersLandOnTheirRecords) {
    const capacity::RowList rows = test::rowList(withGaps());
    std::vector<DocumentField> tank;
    for (int i = 0; i < 40; ++i)
        tank.push_back({"标签" + std::to_string(i), i % 3 ? "值" + std::to_string(i) : ""});
    const StreamView s(buildBiff8Stream(SheetLayout(rows, "250", false), tank));
    const auto sheets = s.all(0x0085);
    ASSERT_EQ(sheets.size(), 2u);
    const auto index = s.all(0x020B);
    ASSERT_EQ(index.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        const std::size_t bofAt = s.u32(sheets[k].data);
        const RecordAt* bof = s.at(bofAt);
        ASSERT_TRUE(bof && bof->id == 0x0809);
        EXPECT_EQ(s.u16(bof->data + 2), 0x0010);
        EXPECT_GT(index[k].data, bofAt);
        EXPECT_TRUE(k == 1 || index[k].data < s.u32(sheets[1].data));
        const RecordAt* defColWidth = s.at(s.u32(index[k].data + 12));
        ASSERT_TRUE(defColWidth && defColWidth->id == 0x0055);
        for (std::size_t b = 0; b < (index[k].length - 16u) / 4; ++b) {
            const RecordAt* db = s.at(s.u32(index[k].data + 16 + 4 * b));
            ASSERT_TRUE(db && db->id == 0x00D7) << "block " << b;
        }
    }
    EXPECT_EQ(s.all(0x0809).size(), 3u); // the globals and two worksheets
    EXPECT_EQ(s.all(0x000A).size(), 3u);
}

} // namespace
} // namespace kelvora::output
