#include "persist/startup.h"

#include "capacity/calibration_grid.h"
#include "persist/grid_file.h"
#include "persist/settings.h"

namespace kelvora::persist {

void loadStartupFiles(capacity::NamedInputs& inputs, const std::string& dir) {
    try {
        LoadSettings(inputs, ConfigPath(dir));
        LoadStringGrid(inputs.grid(), calibrationFilePath(dir));
    } catch (...) {
        // A missing or damaged file must never stop the start: the inputs keep what was
        // applied before the failure, and nothing is reported.
    }
    capacity::setUpCalibrationGrid(inputs);
    inputs.setItemIndex("ComboBox3", 0);
    inputs.setItemIndex("ComboBox4", 0);
}

void saveShutdownFiles(const capacity::NamedInputs& inputs, const std::string& dir) {
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
