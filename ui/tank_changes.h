#pragma once
// What makes a tank's inputs "changed" for the 文件 menu, and what 新建 clears besides the
// inputs.

#include <string>

namespace kelvora::ui {

class TFrmMain;

// The tank file's text of the window's inputs without the quick calculation's level: a
// level looked up in 快捷计算 asks a question of the tank and changes nothing about it.
std::string tankContent(const TFrmMain& window);

// Every result and page made from the earlier tank: ListBox1's rows, the 容积表 page, the
// 变位识别 page with its records file, the quick calculation's result, the level request's
// amount and result.
void clearResults(TFrmMain& window);

} // namespace kelvora::ui
