#include "FakeDeviceHost.h"

#include "platform/foundation/LoadRegistry.h"
#include "platform/foundation/NSLog.h"

#include <gtest/gtest.h>

namespace {

int staticLoads = 0;
LoadRegistrar countStaticLoad([] { ++staticLoads; });

TEST(LoadRegistry, EachLoadRunsExactlyOnce) {
    int later = 0, nested = 0;
    registerLoad([&] {
        ++later;
        registerLoad([&] { ++nested; });
    });
    runRegisteredLoads();
    runRegisteredLoads();
    EXPECT_EQ(staticLoads, 1);
    EXPECT_EQ(later, 1);
    EXPECT_EQ(nested, 1);
}

TEST(NSLog, WritesPlainLinesToTheDeviceLog) {
    foundation_test::ScopedFakeHost host;
    testing::internal::CaptureStderr();
    NSLog("Failed: %d", 404);
    NSLog("Decoding error: %s", "bad header");
    NSLog("comments load failure.\n");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Failed: 404\nDecoding error: bad header\ncomments load failure.\n");
    EXPECT_EQ(host->log(), (std::vector<std::string>{"Failed: 404", "Decoding error: bad header",
                                                     "comments load failure."}));
}

TEST(NSLog, WithoutAHostOnlyStandardError) {
    platform::setDeviceHost(nullptr);
    testing::internal::CaptureStderr();
    NSLog("%s", "yes");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "yes\n");
}

} // namespace
