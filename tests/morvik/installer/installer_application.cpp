// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/app_language.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace kelvara::testing {
namespace {

// One widget application for the process, speaking Russian so that the tests read the texts
// as they are written in the program.
class InstallerApplication : public ::testing::Environment {
public:
    void SetUp() override {
        AppLanguage::fixCurrent(AppLanguage::Case::Russian);
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[13] = "morvik_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new InstallerApplication);

}  // namespace
}  // namespace kelvara::testing
