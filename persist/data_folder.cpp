#include "persist/data_folder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <random>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace kelvora::persist {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFolderName = "kelvora";
constexpr std::string_view kHelpFileName = "help.chm";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string accountHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return {};
}

// The user's configuration folder for this program; empty when the user has no home.
fs::path userDataFolder(const UserEnvironment& env) {
    // A relative $XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    if (!env.xdgConfigHome.empty() && fs::path(env.xdgConfigHome).is_absolute())
        return fs::path(env.xdgConfigHome) / kFolderName;
    if (env.home.empty()) return {};
    return fs::path(env.home) / ".config" / kFolderName;
}

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool isPresent(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

} // namespace

UserEnvironment UserEnvironment::current() {
    UserEnvironment env{environment("XDG_CONFIG_HOME"), environment("HOME")};
    if (env.home.empty()) env.home = accountHome();
    return env;
}

fs::path installedShareFolder(const fs::path& exeDir) {
    fs::path dir = exeDir;
    if (!dir.has_filename() && dir != dir.root_path()) dir = dir.parent_path(); // "/usr/bin/"
    return dir.parent_path() / "share" / kFolderName;
}

bool directoryWritable(const fs::path& dir) {
    static std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 10; ++attempt) {
        const fs::path probe = dir / (".kelvora-write-probe." + std::to_string(::getpid()) + "." +
                                      std::to_string(random() % 1000000000u));
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

DataFolder chooseDataFolder(const fs::path& exeDir, bool exeDirWritable, const UserEnvironment& env) {
    const bool installed = isFolder(installedShareFolder(exeDir));
    if (installed || !exeDirWritable) {
        const fs::path own = userDataFolder(env);
        if (!own.empty()) return {own, true};
    }
    return {exeDir, false};
}

DataFolder dataFolder(const fs::path& exeDir) {
    return chooseDataFolder(exeDir, directoryWritable(exeDir), UserEnvironment::current());
}

fs::path startupFilePath(const DataFolder& folder, const fs::path& exeDir, std::string_view name) {
    const fs::path inDataFolder = folder.dir / name;
    if (!folder.usersOwn || isPresent(inDataFolder)) return inDataFolder;
    return exeDir / name;
}

std::optional<fs::path> helpFilePath(const fs::path& exeDir) {
    for (const fs::path& candidate : {exeDir / kHelpFileName, installedShareFolder(exeDir) / kHelpFileName})
        if (isPresent(candidate)) return candidate;
    return std::nullopt;
}

std::optional<fs::path> helpPagesPath(const fs::path& exeDir) {
    for (const fs::path& folder : {exeDir / "help", installedShareFolder(exeDir) / "help"})
        if (isPresent(folder / "index.html")) return folder / "index.html";
    return std::nullopt;
}

} // namespace kelvora::persist
