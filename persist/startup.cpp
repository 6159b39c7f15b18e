#include "persist/startup.h"

#include "capacity/calibration_grid.h"
#include "capacity/input_table.h"
#include "persist/atomic_file.h"
#include "persist/grid_file.h"
#include "persist/io_error.h"
#include "persist/settings.h"

#include <system_error>

namespace kelvora::persist {

namespace fs = std::filesystem;

namespace {

StartupLoad loadFiles(capacity::NamedInputs& inputs, const fs::path& config, const fs::path& grid) {
    // A missing or damaged file must never stop the start: the inputs keep what was
    // applied before the failure. The two files are independent, so a settings error is no
    // reason to leave the points unread (and then overwrite them at the close).
    StartupLoad load;
    load.gridFile = grid;
    // The count list is there before the load, so that the stored count selects its item.
    inputs.setItems("ComboBox2", capacity::pointCountItems());
    try {
        LoadSettings(inputs, config);
    } catch (...) {
    }
    try {
        LoadStringGrid(inputs.grid(), grid);
    } catch (...) {
        // Only a file that is there is kept; one that cannot even be looked at counts as there.
        std::error_code ec;
        load.gridKept = fs::symlink_status(grid, ec).type() != fs::file_type::not_found;
    }
    capacity::setUpCalibrationGrid(inputs);
    for (const char* choice : {"ComboBox3", "ComboBox4"})
        if (inputs.itemIndex(choice) < 0) inputs.setItemIndex(choice, 0);
    load.gridAtStart = stringGridFileBytes(inputs.grid());
    return load;
}

void saveGrid(const capacity::StringGrid& grid, const fs::path& path, const StartupLoad& startup) {
    if (!startup.gridKept || startup.gridFile != path) {
        SaveStringGrid(grid, path);
        return;
    }
    // The file that could not be read may still be the user's only copy of the points.
    const std::string bytes = stringGridFileBytes(grid);
    if (bytes != startup.gridAtStart) replaceKeepingBackup(path, bytes);
}

} // namespace

StartupLoad loadStartupFiles(capacity::NamedInputs& inputs, const std::string& dir) {
    return loadFiles(inputs, ConfigPath(dir), calibrationFilePath(dir));
}

StartupLoad loadStartupFiles(capacity::NamedInputs& inputs, const DataFolder& folder, const std::string& exeDir) {
    return loadFiles(inputs, startupFilePath(folder, exeDir, ConfigPath("").filename().string()),
                     startupFilePath(folder, exeDir, calibrationFilePath("").filename().string()));
}

std::string startupMessage(const StartupLoad& load) {
    if (!load.gridKept) return {};
    return "标定点文件“" + load.gridFile.string() + "”无法读取，表格中没有载入标定点。原文件保留不动；" +
           "如果修改了标定点，关闭程序时原文件改名为“" + load.gridFile.filename().string() + ".bak”。";
}

ShutdownSave saveShutdownFilesReporting(const capacity::NamedInputs& inputs, const std::string& dir,
                                        const StartupLoad& startup) {
    std::error_code ec;
    fs::create_directories(dir, ec); // a failure shows in the saves below
    // The two files are independent: settings that cannot be saved are no reason to lose
    // the calibration points. A file that cannot be written stays whole, and is named.
    ShutdownSave save;
    auto failed = [&](const char* what, const fs::path& path) {
        try {
            throw;
        } catch (const std::exception& e) {
            save.failures.push_back(userMessage(e, path));
        } catch (...) {
            save.failures.push_back(std::string(what) + "“" + path.string() + "”无法保存");
        }
    };
    try {
        const fs::path backup = SaveSettings(inputs, ConfigPath(dir));
        if (!backup.empty())
            save.notes.push_back("设置文件“" + ConfigPath(dir).string() +
                                 "”太大，无法完整读回。原文件已改名为“" + backup.filename().string() +
                                 "”，输入的数据保存在新的设置文件中。");
    } catch (...) {
        failed("设置文件", ConfigPath(dir));
    }
    try {
        saveGrid(inputs.grid(), calibrationFilePath(dir), startup);
    } catch (...) {
        failed("标定点文件", calibrationFilePath(dir));
    }
    return save;
}

std::vector<std::string> saveShutdownFiles(const capacity::NamedInputs& inputs, const std::string& dir,
                                           const StartupLoad& startup) {
    return saveShutdownFilesReporting(inputs, dir, startup).notes;
}

} // namespace kelvora::persist
