// The bd.txt loader on arbitrary file bytes: no crash, counts within the ceilings, and
// what it loads saves and loads again to the same grid after one round (the first round
// turns damaged characters into "?" and line breaks inside cells into blanks).

#include "capacity/string_grid.h"
#include "fuzz_check.h"
#include "kernel/errors.h"
#include "persist/grid_file.h"

#include <cstdint>
#include <string>

using namespace kelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    capacity::StringGrid grid(3, 9);
    grid.setCell(1, 1, "keep");
    try {
        persist::loadStringGridBytes(grid, bytes);
    } catch (const IoError&) {
        FUZZ_CHECK(grid.rowCount() == 9 && grid.cell(1, 1) == "keep");
        return 0;
    }
    FUZZ_CHECK(grid.colCount() >= 1 && grid.colCount() <= persist::kMaxGridCols);
    FUZZ_CHECK(grid.rowCount() >= 1 && grid.rowCount() <= persist::kMaxGridRows);
    for (int c = 0; c < grid.colCount(); ++c)
        for (int r = 0; r < grid.rowCount(); ++r)
            FUZZ_CHECK(fuzz::isUtf8(grid.cell(c, r)));

    const std::string once = persist::stringGridFileBytes(grid);
    capacity::StringGrid second;
    persist::loadStringGridBytes(second, once);
    // Rows hidden past the count that hold text are saved too.
    FUZZ_CHECK(second.colCount() == grid.colCount() && second.rowCount() >= grid.rowCount());
    const std::string twice = persist::stringGridFileBytes(second);
    capacity::StringGrid third;
    persist::loadStringGridBytes(third, twice);
    FUZZ_CHECK(persist::stringGridFileBytes(third) == twice);
    return 0;
}
