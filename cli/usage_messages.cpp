#include "cli/usage_messages.h"

#include "capacity/input_error.h"
#include "capacity/input_naming.h"
#include "capacity/vocabulary.h"

#include <cerrno>

namespace kelvora::cli {

std::string systemErrorText(const std::error_code& ec) {
    if (ec.category() == std::generic_category() || ec.category() == std::system_category()) {
        switch (ec.value()) {
        case ENOENT:
            return "没有这个文件或文件夹";
        case EACCES:
        case EPERM:
            return "没有权限";
        case ENOTDIR:
            return "路径中有一段不是文件夹";
        case ELOOP:
            return "符号链接循环";
        case ENAMETOOLONG:
            return "名称太长";
        case EISDIR:
            return "是一个文件夹";
        default:
            break;
        }
    }
    return "系统错误 " + std::to_string(ec.value());
}

std::string pathErrorText(const std::filesystem::filesystem_error& e) {
    return "路径“" + e.path1().string() + "”无法使用：" + systemErrorText(e.code());
}

std::string convertedInputLine(const capacity::InputConvertError& e, const GivenInputs& given) {
    const std::string& component = e.component();
    if (e.pointRow() > 0) return "输入项：" + capacity::inputNamedAs("point", component, e.pointRow());
    const std::string readable = capacity::readableNameOf(component);
    // The inputs are set by readable name first, then by component name: the last
    // argument of the component's name counts, then the last of its readable name.
    for (const std::string_view wanted : {std::string_view(component), std::string_view(readable)})
        for (auto it = given.assignments.rbegin(); !wanted.empty() && it != given.assignments.rend(); ++it)
            if (it->substr(0, it->find('=')) == wanted)
                return "输入项：" + capacity::inputNamedAs(wanted, component);
    if (component == "LevelForValue") return "输入项：" + capacity::inputNamedAs("--level-for", component);
    if (given.tankFile && !readable.empty()) return "输入项：" + capacity::inputNamedAs(readable, component);
    return "输入项：" + capacity::inputNamedAs(component, component);
}

} // namespace kelvora::cli
