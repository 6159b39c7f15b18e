#pragma once
// kelvora-table run as a process, its status and both outputs.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::string& args, const std::string& launcher = "") {
    // ctest runs the cases as parallel processes: each run gets its own file.
    static int runs = 0;
    const std::string errFile =
        testing::TempDir() + "kelvora_batch_err_" + std::to_string(getpid()) + "_" + std::to_string(++runs) + ".txt";
    const std::string command = launcher + std::string(KELVORA_TABLE) + " " + args + " 2>" + errFile;
    Result r{};
    FILE* p = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;) r.out.append(buf.data(), n);
    r.status = WEXITSTATUS(pclose(p));
    if (FILE* e = fopen(errFile.c_str(), "r")) {
        for (std::size_t n; (n = fread(buf.data(), 1, buf.size(), e)) > 0;) r.err.append(buf.data(), n);
        fclose(e);
    }
    std::remove(errFile.c_str());
    return r;
}

} // namespace
