#pragma once
// The batch tool's own texts beside the requests' messages: the pointer to the help after
// a wrong command line, a system error in words, and the input a conversion failed on.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kelvora::capacity {
class InputConvertError;
}

namespace kelvora::cli {

// Ends the message of a wrong command line.
inline constexpr std::string_view kSeeHelp = "\n（见 kelvora-table --help）\n";

// A system error as the batch tool states it: "没有这个文件或文件夹", "没有权限", ...
std::string systemErrorText(const std::error_code& ec);

// A path the system rejects: "路径“/x/y”无法使用：没有权限".
std::string pathErrorText(const std::filesystem::filesystem_error& e);

// Where the inputs of a request came from, so a conversion failure names the input as it
// was given: the NAME=VALUE arguments in their order, and whether a tank file was read
// (which names every input by its readable name).
struct GivenInputs {
    std::vector<std::string_view> assignments;
    bool tankFile = false;
};

// The second line of a conversion failure: "输入项：Edit8（液位间隔）", "输入项：step（液位间隔）",
// "输入项：point 3（标定点）".
std::string convertedInputLine(const capacity::InputConvertError& e, const GivenInputs& given);

} // namespace kelvora::cli
