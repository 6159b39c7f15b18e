#include "persist/startup.h"

#include "capacity/calibration_grid.h"
#include "persist/grid_file.h"
#include "persist/settings.h"

#include <filesystem>
#include <system_error>

namespace kelvora::persist {

namespace {

void loadFiles(capacity::NamedInputs& inputs, const std::filesystem::path& config,
               const std::filesystem::path& grid) {
    try {
        LoadSettings(inputs, config);
        LoadStringGrid(inputs.grid(), grid);
    } catch (...) {
        // A missing or damaged file must never stop the start: the inputs keep what was
        // applied before the failure, and nothing is reported.
    }
    capacity::setUpCalibrationGrid(inputs);
    inputs.setItemIndex("ComboBox3", 0);
    inputs.setItemIndex("ComboBox4", 0);
}

} // namespace

void loadStartupFiles(capacity::NamedInputs& inputs, const std::string& dir) {
    loadFiles(inputs, ConfigPath(dir), calibrationFilePath(dir));
}

void loadStartupFiles(capacity::NamedInputs& inputs, const DataFolder& folder, const std::string& exeDir) {
    loadFiles(inputs, startupFilePath(folder, exeDir, ConfigPath("").filename().string()),
              startupFilePath(folder, exeDir, calibrationFilePath("").filename().string()));
}

void saveShutdownFiles(const capacity::NamedInputs& inputs, const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec); // a failure shows in the saves below
    // Closing never fails on a file that cannot be written; the old files stay whole. The
    // two files are independent: settings that cannot be saved are no reason to lose the
    // calibration points.
    try {
        SaveSettings(inputs, ConfigPath(dir));
    } catch (...) {
    }
    try {
        SaveStringGrid(inputs.grid(), calibrationFilePath(dir));
    } catch (...) {
    }
}

} // namespace kelvora::persist
