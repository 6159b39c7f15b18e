// Tank files and registers on arbitrary bytes: no crash; a tank file is either refused
// with the line it names or taken, and what is taken is written back to a file that gives
// the same inputs again; a register's cells are always UTF-8.

#include "capacity/memory_inputs.h"
#include "capacity/vocabulary.h"
#include "fuzz_check.h"
#include "persist/register_file.h"
#include "persist/tank_file.h"

#include <cstdint>
#include <string>

using namespace kelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    try {
        const auto table = persist::parseRegister(bytes);
        for (const auto& cell : table.heading)
            FUZZ_CHECK(fuzz::isUtf8(cell));
        for (const auto& row : table.rows)
            for (const auto& cell : row.cells)
                FUZZ_CHECK(fuzz::isUtf8(cell));
    } catch (const persist::RegisterError& e) {
        FUZZ_CHECK(fuzz::isUtf8(e.what()));
    }

    auto inputs = capacity::MemoryInputs::afterStartup();
    try {
        capacity::applyAssignments(inputs, persist::parseTankFile(bytes));
    } catch (const persist::TankFileError& e) {
        FUZZ_CHECK(std::string(e.what()).starts_with("第"));
        return 0;
    } catch (const capacity::VocabularyError& e) {
        FUZZ_CHECK(e.line() >= 1);
        return 0;
    }
    const std::string text = persist::tankFileText(inputs);
    auto again = capacity::MemoryInputs::afterStartup();
    capacity::applyAssignments(again, persist::parseTankFile(text));
    FUZZ_CHECK(persist::tankFileText(again) == text);
    return 0;
}
