#pragma once
// Scratch directories and file bytes for the persistence tests.

#include "capacity/page_inputs.h"
#include "persist/gbk_text.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::persist::test {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string name = (fs::temp_directory_path() / "kelvora-persist-XXXXXX").string();
        path_ = ::mkdtemp(name.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(std::string_view name) const { return path_ / name; }
    // Sorted names of the directory's entries, hidden ones included.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

inline std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string fixture(std::string_view name) {
    return readBytes(fs::path(KELVORA_TEST_DATA) / "persist" / name);
}

// The [Kelvora] section that follows [FrmMainPro] when the page's inputs are as after a
// start-up: LevelForMode on "容积" (GBK), everything else empty or clear.
// The page's section as a first start saves it: every text empty, every check clear and
// every pick list on its first item, in the order of the page's input table.
inline std::string freshKelvoraSection() {
    std::string section = "[Kelvora]\r\n";
    for (const auto& input : capacity::pageInputTable()) {
        section.append(input.name).append("=");
        if (input.kind == capacity::InputKind::CheckBox) section += "0";
        if (input.kind == capacity::InputKind::PickList) section += utf8ToGbk(capacity::fixedItems(input.name).front());
        section += "\r\n";
    }
    return section;
}
inline const std::string kFreshKelvoraSection = freshKelvoraSection();

} // namespace kelvora::persist::test
