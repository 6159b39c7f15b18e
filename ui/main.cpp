#include <cstdio>

int main() {
    std::puts("Kelvora: the capacity-table window (tank pages, head groups, table and quick calculation)"
              " comes here; use kelvora-table for tables from the command line.");
    return 0;
}
