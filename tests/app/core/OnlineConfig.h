#pragma once
// The shared usage-report service pointed at a reference catalogue service whose online
// parameters a test sets, on a fresh device with the given preferred languages.
#include "platform/kits/UsageReport.h"
#include "service/TestCatalogue.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class OnlineConfigTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A fresh device reading `languages`; the shared service forgets what it had.
    void useLanguages(std::vector<std::string> languages);
    // Sets parameters on the service and has the shared service fetch them (waits).
    void serve(const std::vector<std::pair<std::string, std::string>>& params);

    static chimora::service::TestCatalogue* catalogue;
    std::unique_ptr<testsupport::TestDevice> device;
};
