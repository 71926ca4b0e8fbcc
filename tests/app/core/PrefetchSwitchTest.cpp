#include "app/core/SharedStates.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSUserDefaults.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

namespace {

// A reader of the stored file of its own, as a later run would be.
std::shared_ptr<NSUserDefaults> storedDefaults() {
    auto id = NSBundle::mainBundle()->bundleIdentifier();
    EXPECT_TRUE(id);
    return std::make_shared<NSUserDefaults>("/var/mobile/Library/Preferences/" + id.value_or("") +
                                            ".plist");
}

TEST(PrefetchSwitchTest, OnUntilTurnedOffAndStoredAtOnce) {
    testsupport::TestDevice device;
    auto states = SharedStates::shared();
    EXPECT_TRUE(states->prefetchEnabled());
    EXPECT_FALSE(storedDefaults()->hasObjectForKey("prefetch_toggle_off"));

    states->enablePrefetch(false);
    EXPECT_FALSE(states->prefetchEnabled());
    auto stored = storedDefaults();
    EXPECT_TRUE(stored->hasObjectForKey("prefetch_toggle_off"));
    EXPECT_TRUE(stored->boolForKey("prefetch_toggle_off"));

    states->enablePrefetch(true);
    EXPECT_TRUE(states->prefetchEnabled());
    stored = storedDefaults();
    EXPECT_TRUE(stored->hasObjectForKey("prefetch_toggle_off"));
    EXPECT_FALSE(stored->boolForKey("prefetch_toggle_off"));
}

TEST(PrefetchSwitchTest, ALaterRunReadsTheStoredSwitch) {
    testsupport::TestDevice device;
    SharedStates::shared()->enablePrefetch(false);
    // The next run starts with fresh defaults read from the same device.
    NSUserDefaults::resetStandardUserDefaultsForTesting();
    EXPECT_FALSE(SharedStates::shared()->prefetchEnabled());
}

} // namespace
