// The station records' readers on arbitrary bytes, as text, as an Excel workbook and as
// an Excel 97-2003 workbook (the first byte chooses): no crash, no hang; a file is either
// refused with a message for the user or read into a sheet within every limit, whose
// records are refused naming a row or are finite numbers.

#include "fuzz_check.h"
#include "identify/records.h"
#include "identify/sheet.h"
#include "kernel/errors.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace kelvora;

namespace {

void check(const identify::Sheet& sheet) {
    FUZZ_CHECK(sheet.heading.size() >= 1 && sheet.heading.size() <= identify::kMaxColumns);
    FUZZ_CHECK(sheet.rowCount() <= identify::kMaxRecords);
    for (const auto& h : sheet.heading)
        FUZZ_CHECK(fuzz::isUtf8(h));
    for (std::size_t r = 0; r < sheet.rowCount(); ++r)
        for (const auto& cell : sheet.row(r))
            FUZZ_CHECK(fuzz::isUtf8(cell.text));
    try {
        const auto records = identify::extractRecords(sheet, identify::chooseColumns(sheet.heading));
        FUZZ_CHECK(records.level.size() == records.net.size());
        for (std::size_t i = 0; i < records.level.size(); ++i)
            FUZZ_CHECK(std::isfinite(records.level[i]) && std::isfinite(records.net[i]));
    } catch (const IoError& e) {
        FUZZ_CHECK(fuzz::isUtf8(e.what()) && std::string(e.what()).starts_with("记录文件"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char form = static_cast<char>(data[0] % 3);
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        if (form == 0) {
            check(identify::parseCsv(bytes));
            return 0;
        }
        static const std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("kelvora-records-fuzz-" + std::to_string(::getpid()));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        check(form == 1 ? identify::readXlsx(path) : identify::readXls(path));
    } catch (const IoError& e) {
        FUZZ_CHECK(fuzz::isUtf8(e.what()));
    }
    return 0;
}
