#pragma once
// Where Config.ini and bd.txt live: the data folder.
//
// The data folder is the user's own, $XDG_CONFIG_HOME/kelvora (~/.config/kelvora when the
// variable is unset, empty or not an absolute path), when the program is installed (a
// folder share/kelvora lies beside the executable's folder) or when the executable's
// folder is not writable; otherwise it is the executable's folder, where a copy unpacked
// anywhere keeps its files beside itself. Both files are always saved to the data folder.
// At start-up each file is read from the data folder when it is there; only when it is
// not, and the data folder is the user's own, from the executable's folder, so that a
// first start begins from what lies beside the program.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora::persist {

// What the user's data folder depends on.
struct UserEnvironment {
    std::string xdgConfigHome; // $XDG_CONFIG_HOME, empty when unset
    std::string home;          // $HOME, or the home folder of the user's account

    static UserEnvironment current();
};

struct DataFolder {
    std::filesystem::path dir;
    bool usersOwn = false; // the user's configuration folder, not the executable's
};

// The shared files of an installed program: <exeDir>/../share/kelvora.
std::filesystem::path installedShareFolder(const std::filesystem::path& exeDir);

// Whether a file can be created in dir. Tried, not read from the permission bits, which
// say nothing for root or on a read-only mount; false for anything but a folder.
bool directoryWritable(const std::filesystem::path& dir);

// The rule, over what it depends on (whether the program is installed is looked up).
DataFolder chooseDataFolder(const std::filesystem::path& exeDir, bool exeDirWritable, const UserEnvironment& env);

// The rule on this machine, for the executable's folder exeDir.
DataFolder dataFolder(const std::filesystem::path& exeDir);

// The file `name` as start-up reads it.
std::filesystem::path startupFilePath(const DataFolder& folder, const std::filesystem::path& exeDir,
                                      std::string_view name);

// help.chm beside the executable, else in the installed share folder; std::nullopt when
// in neither.
std::optional<std::filesystem::path> helpFilePath(const std::filesystem::path& exeDir);

// The first page of the help's pages for the window's own browser, help/index.html beside
// the executable, else in the installed share folder; std::nullopt when in neither.
std::optional<std::filesystem::path> helpPagesPath(const std::filesystem::path& exeDir);

} // namespace kelvora::persist
