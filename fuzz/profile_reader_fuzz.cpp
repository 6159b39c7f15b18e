// The profile reader and writer on arbitrary file bytes: no crash, every value valid UTF-8
// within the length limit, a written key reads back, and writing one key changes no
// other key's value.

#include "fuzz_check.h"
#include "persist/gbk_text.h"
#include "persist/profile_file.h"

#include <algorithm>
#include <cstdint>
#include <string>

using namespace kelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The codec: decoding gives valid UTF-8, and its text survives a trip through GBK
    // except for the damaged characters, which come back as the "?" they are written as.
    const std::string text = persist::gbkToUtf8(bytes);
    FUZZ_CHECK(fuzz::isUtf8(text));
    std::string expected = text;
    for (std::size_t at; (at = expected.find("\uFFFD")) != std::string::npos;)
        expected.replace(at, 3, "?");
    FUZZ_CHECK(persist::gbkToUtf8(persist::utf8ToGbk(text)) == expected);

    persist::ProfileFile file(bytes);
    const std::string_view keys[] = {"Edit10", "程序版本", "k", "CheckBox1", ""};
    const auto before = file.read("FrmMainPro", keys);
    for (const auto& value : before)
        if (value)
            FUZZ_CHECK(fuzz::isUtf8(*value) &&
                       fuzz::utf8Chars(*value) <= persist::ProfileFile::kMaxValueChars);

    file.write("FrmMainPro", "Edit10", "12.5");
    const auto after = file.read("FrmMainPro", keys);
    FUZZ_CHECK(after[0] == std::optional<std::string>("12.5"));
    for (std::size_t i = 1; i < std::size(keys); ++i)
        FUZZ_CHECK(after[i] == before[i]);
    return 0;
}
