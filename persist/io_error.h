#pragma once
// The texts of file failures, in the user's words, shared by every save and every load so
// that a full disk reads the same whichever file met it.

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvora::persist {

// The reason for an errno value: "磁盘已满", "没有写入权限", "文件太大", ...; the system's
// own text for the rare ones.
enum class IoAccess { Read, Write };
std::string ioReason(int error, IoAccess access = IoAccess::Write);

// IoError with the text `what“path”：reason`.
[[noreturn]] void throwIoError(std::string_view what, const std::filesystem::path& path, int error,
                               IoAccess access = IoAccess::Write);

} // namespace kelvora::persist
