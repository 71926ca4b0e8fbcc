#include "tests/app/core/OnlineConfig.h"

#include "platform/foundation/RunLoop.h"

chimora::service::TestCatalogue* OnlineConfigTest::catalogue = nullptr;

void OnlineConfigTest::SetUpTestSuite() {
    catalogue = new chimora::service::TestCatalogue(1);
}

void OnlineConfigTest::TearDownTestSuite() {
    delete catalogue;
    catalogue = nullptr;
}

void OnlineConfigTest::SetUp() {
    ASSERT_TRUE(catalogue->ok()) << catalogue->error();
    useLanguages({"en"});
}

void OnlineConfigTest::TearDown() {
    UsageReport::resetSharedForTesting();
    device.reset();
}

void OnlineConfigTest::useLanguages(std::vector<std::string> languages) {
    device.reset();
    platform::DeviceSettings settings;
    settings.preferredLanguages = std::move(languages);
    device = std::make_unique<testsupport::TestDevice>(
        testsupport::TestDevice::Options{.settings = settings});
    UsageReport::resetSharedForTesting();
    auto report = UsageReport::shared();
    report->setReportURL(catalogue->reportURL());
    report->start("5f2c9a7e1b3d4c6e8a0b2d4f", 0, "chimor");
}

void OnlineConfigTest::serve(const std::vector<std::pair<std::string, std::string>>& params) {
    for (const auto& [key, value] : params) {
        catalogue->store().setConfig(key, value);
    }
    auto report = UsageReport::shared();
    report->refreshOnlineConfig();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !report->isRefreshing(); }, 10));
}
