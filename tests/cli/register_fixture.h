#pragma once
// A folder of its own per test, files written and read as bytes, and a tank file, for the
// tests that run kelvora-table over tank files and registers.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Dir {
    fs::path path =
        fs::temp_directory_path() / ("kelvora-register-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    Dir() { fs::create_directories(path); }
    ~Dir() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const std::string kTank =
    "# Kelvora tank file, version 1\nstructure = horizontal\nsection = circle\nD = 2000\n"
    "L = 5000\nleft.shape = ellipsoidal\nleft.h = 40\nleft.H = 540\nright.shape = cone\n"
    "right.h = 40\nright.H2 = 440\nfrom = 0\nto = 2000\nstep = 10\nrows_per_column = 50\n"
    "dead_volume = 0\nattachment.volume = 0\nattachment.bottom = 0\nattachment.height = 0\n";

} // namespace
