#include "cli/batch.h"
#include "persist/io_error.h"

#include <csignal>
#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    // A file-size limit then fails the write with EFBIG, which the save reports as "文件太大"
    // and cleans up after, instead of killing the program mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        std::ios::sync_with_stdio(false);
        return kelvora::cli::runBatch(argc, argv, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "kelvora-table: " << kelvora::persist::userMessage(e) << '\n';
    } catch (...) {
        std::cerr << "kelvora-table: 程序内部错误，无法完成这项操作\n";
    }
    return kelvora::cli::kErrorReport;
}
