#pragma once
// The wait cursor over a long piece of work (building a table, writing a workbook): shown
// for the guard's lifetime and taken down however the scope ends, a throw included.

namespace kelvora::ui {

class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace kelvora::ui
