#include "persist/register_file.h"

#include "capacity/vocabulary.h"
#include "persist/bounded_read.h"
#include "persist/csv_reader.h"

namespace kelvora::persist {

namespace {

std::string lineText(std::size_t line) {
    return "第" + std::to_string(line) + "行";
}

} // namespace

RegisterTable parseRegister(std::string_view bytes) {
    try {
        const std::string text = decodeUtf8OrGbk(bytes);
        CsvReader reader(text, {.refuseControl = true, .maxCells = kMaxRegisterColumns});
        RegisterTable table;
        bool headingSeen = false;
        std::vector<CsvCell> cells;
        std::size_t line = 0;
        while (reader.next(cells, line)) {
            RegisterRow row{static_cast<int>(line), {}};
            bool empty = true;
            for (CsvCell& cell : cells) {
                row.cells.push_back(cell.quoted ? std::move(cell.text)
                                                : std::string(capacity::trimBlanks(cell.text)));
                empty = empty && row.cells.back().empty();
            }
            if (empty) continue;
            if (!headingSeen) {
                table.heading = std::move(row.cells);
                headingSeen = true;
                continue;
            }
            // A cell too few or too many would slide every later one into the wrong column.
            if (row.cells.size() != table.heading.size())
                throw RegisterError(lineText(line) + "有" + std::to_string(row.cells.size()) +
                                    "格，标题行有" + std::to_string(table.heading.size()) + "格");
            if (table.rows.size() >= kMaxRegisterRows)
                throw RegisterError("登记表超过" + std::to_string(kMaxRegisterRows) + "个罐（" + lineText(line) +
                                    "），一个登记表最多" + std::to_string(kMaxRegisterRows) +
                                    "个罐，请分成几个登记表");
            table.rows.push_back(std::move(row));
        }
        if (!headingSeen) throw RegisterError("登记表是空的，没有标题行");
        return table;
    } catch (const CsvError& e) {
        switch (e.kind()) {
        case CsvError::Kind::Encoding:
            throw RegisterError(lineText(e.line()) + "不是UTF-8或GBK文本");
        case CsvError::Kind::Quote:
            throw RegisterError(lineText(e.line()) + "的引号没有结束");
        case CsvError::Kind::Control:
            throw RegisterError(lineText(e.line()) + "含有控制字符");
        case CsvError::Kind::TooManyCells:
            throw RegisterError(lineText(e.line()) + "超过" + std::to_string(kMaxRegisterColumns) + "格");
        }
        throw;
    }
}

RegisterTable readRegister(const std::filesystem::path& path) {
    const auto read = readFilePrefix(path, kMaxRegisterBytes);
    if (!read) throw IoError("找不到登记表“" + path.string() + "”");
    if (read->truncated) throw RegisterError("登记表“" + path.string() + "”太大");
    try {
        return parseRegister(read->bytes);
    } catch (const RegisterError& e) {
        throw RegisterError("登记表“" + path.string() + "”" + e.what());
    }
}

} // namespace kelvora::persist
