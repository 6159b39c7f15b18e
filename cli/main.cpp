#include "cli/batch.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return kelvora::cli::runBatch(argc, argv, std::cout, std::cerr);
}
