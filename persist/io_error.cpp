#include "persist/io_error.h"

#include "kernel/errors.h"

#include <cerrno>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace kelvora::persist {

std::string ioReason(int error, IoAccess access) {
    switch (error) {
    case ENOENT:
        return access == IoAccess::Read ? "文件不存在" : "文件夹不存在";
    case ENOTDIR:
        return "路径中有一段不是文件夹";
    case EACCES:
    case EPERM:
        return access == IoAccess::Read ? "没有读取权限" : "没有写入权限";
    case ENOSPC:
    case EDQUOT:
        return "磁盘已满";
    case EROFS:
        return "只读的磁盘";
    case EFBIG:
        return "文件太大";
    case EISDIR:
        return "这是一个文件夹";
    case ENAMETOOLONG:
        return "文件名太长";
    case ELOOP:
        return "符号链接循环";
    case EIO:
        return "磁盘读写错误";
    case ENOTEMPTY:
    case EEXIST:
        return "已经存在";
    case EMFILE:
    case ENFILE:
        return "打开的文件太多";
    case ENOMEM:
        return "内存不足";
    case EXDEV:
        return "不能跨磁盘移动";
    case EBUSY:
        return "正在被使用";
    case ETXTBSY:
        return "正在被使用";
    default:
        return "错误代码 " + std::to_string(error);
    }
}

std::string userMessage(const std::exception& e, const std::filesystem::path& path) {
    if (dynamic_cast<const Error*>(&e)) return e.what();
    auto named = [&](const std::filesystem::path& p) {
        return p.empty() ? std::string() : "“" + p.string() + "”";
    };
    if (const auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
        const std::filesystem::path& shown = fs->path1().empty() ? path : fs->path1();
        // The operation, from the words the library's text begins with.
        const std::string_view what = fs->what();
        const char* doing = "无法处理";
        for (const auto& [words, verb] : {std::pair{"create director", "无法创建文件夹"},
                                          {"create_director", "无法创建文件夹"},
                                          {"directory iterator", "无法读取文件夹"},
                                          {"directory_iterator", "无法读取文件夹"},
                                          {"copy", "无法复制"},
                                          {"remove", "无法删除"},
                                          {"rename", "无法改名"}})
            if (what.find(words) != std::string_view::npos) {
                doing = verb;
                break;
            }
        std::string text = shown.empty() ? "文件操作失败" : doing + named(shown);
        if (!fs->path2().empty()) text += "和" + named(fs->path2());
        const int error = fs->code().value();
        if (error == ENOENT && !shown.empty()) {
            // Whichever is missing, the file or a folder on its way, is named as such.
            std::error_code ec;
            const auto folder = shown.parent_path();
            if (folder.empty() || std::filesystem::is_directory(folder, ec)) return text + "：文件不存在";
            return text + "：文件夹" + named(folder) + "不存在";
        }
        return text + "：" + ioReason(error);
    }
    if (const auto* system = dynamic_cast<const std::system_error*>(&e))
        return (path.empty() ? "操作失败" : "无法处理" + named(path)) + "：" +
               ioReason(system->code().value());
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return path.empty() ? "内存不足，无法完成这项操作" : "内存不足，无法处理" + named(path);
    return path.empty() ? "程序内部错误，无法完成这项操作" : "程序内部错误，无法处理" + named(path);
}

void throwIoError(std::string_view what, const std::filesystem::path& path, int error, IoAccess access) {
    throw IoError(std::string(what) + "“" + path.string() + "”：" + ioReason(error, access));
}

} // namespace kelvora::persist
