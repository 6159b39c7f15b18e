#include "output/csv_table.h"

#include "persist/atomic_file.h"

namespace kelvora::output {

void saveCsvTable(const std::string& path, const capacity::RowList& rows, bool weight) {
    persist::AtomicFile file(path);
    // The byte-order mark makes a spreadsheet on Chinese Windows read the file as UTF-8
    // rather than in the system's code page, which would garble the headings.
    std::string buffer = kCsvByteOrderMark;
    buffer += weight ? "高度cm,重量Kg\r\n" : "高度cm,容积L\r\n";
    // Written in pieces, so a table of millions of rows needs no second copy in memory.
    constexpr std::size_t kChunk = 1 << 16;
    buffer.reserve(kChunk + 256);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        buffer.append(rows[i]).append("\r\n");
        if (buffer.size() >= kChunk) {
            file.write(buffer);
            buffer.clear();
        }
    }
    file.write(buffer);
    file.commit();
}

} // namespace kelvora::output
