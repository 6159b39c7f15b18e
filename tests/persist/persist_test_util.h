#pragma once
// Scratch directories and file bytes for the persistence tests.

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
inline const std::string kFreshKelvoraSection = "[Kelvora]\r\nLevelForValue=\r\nLevelForMode=\xC8\xDD\xBB\xFD\r\n"
                                                "LevelForResult=\r\nExactGeometry=0\r\nTankNumber=\r\nTankOwner=\r\n";

} // namespace kelvora::persist::test
