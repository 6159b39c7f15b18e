#pragma once
// The texts of file failures, in the user's words, shared by every save and every load so
// that a full disk reads the same whichever file met it.

#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvora::persist {

// The reason for an errno value: "磁盘已满", "没有写入权限", "文件太大", ...; a missing
// path is "文件不存在" when reading and "文件夹不存在" when writing (a file is written into
// a folder that must be there); "错误代码 N" for the rare ones.
enum class IoAccess { Read, Write };
std::string ioReason(int error, IoAccess access = IoAccess::Write);

// IoError with the text `what“path”：reason`.
[[noreturn]] void throwIoError(std::string_view what, const std::filesystem::path& path, int error,
                               IoAccess access = IoAccess::Write);

// What the user reads for an exception that escaped an action: the text of this program's
// own errors (kelvora::Error) as it is; for the standard library's, whose texts are
// English ("filesystem error: …", "std::bad_alloc"), a Chinese text naming the file or
// folder (the exception's own path, else `path` when given) and what is wrong with it.
std::string userMessage(const std::exception& e, const std::filesystem::path& path = {});

} // namespace kelvora::persist
