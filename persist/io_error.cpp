#include "persist/io_error.h"

#include "kernel/errors.h"

#include <cerrno>
#include <cstring>

namespace kelvora::persist {

std::string ioReason(int error, IoAccess access) {
    switch (error) {
    case ENOENT: return "文件夹不存在";
    case EACCES:
    case EPERM: return access == IoAccess::Read ? "没有读取权限" : "没有写入权限";
    case ENOSPC:
    case EDQUOT: return "磁盘已满";
    case EROFS: return "只读的磁盘";
    case EFBIG: return "文件太大";
    case EISDIR: return "这是一个文件夹";
    case ENAMETOOLONG: return "文件名太长";
    case ELOOP: return "符号链接循环";
    case EIO: return "磁盘读写错误";
    default: return std::strerror(error);
    }
}

void throwIoError(std::string_view what, const std::filesystem::path& path, int error, IoAccess access) {
    throw IoError(std::string(what) + "“" + path.string() + "”：" + ioReason(error, access));
}

} // namespace kelvora::persist
