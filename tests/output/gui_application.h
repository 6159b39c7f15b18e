#pragma once
// One offscreen QGuiApplication for a whole test program, made before the first test and
// destroyed before the program exits so that Qt hands its font caches back (LeakSanitizer
// counts them otherwise). Include it in exactly one file of the program.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <memory>

namespace kelvora::test {

class GuiApplication : public testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "kelvora_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] inline testing::Environment* const kGuiApplication =
    testing::AddGlobalTestEnvironment(new GuiApplication);

} // namespace kelvora::test
