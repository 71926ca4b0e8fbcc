#include "tests/support/TestDevice.h"

#include "BuildConfig.h"
#include "host/device/DeviceInit.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSUserDefaults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

void forgetSharedState() {
    NSUserDefaults::resetStandardUserDefaultsForTesting();
    NSBundle::resetMainBundleForTesting();
}

fs::path makeTempDir() {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) {
        base = "/tmp";
    }
    std::string pattern = (base / "chimora-device-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp failed for " << pattern;
        return {};
    }
    return pattern;
}

} // namespace

TestDevice::TestDevice() : TestDevice(Options{}) {}

TestDevice::TestDevice(Options options) : tempDir_(makeTempDir()) {
    forgetSharedState();
    const fs::path bundle = options.appBundle.value_or(fs::path(BuildConfig::kResourcesDir));
    device_ = std::make_shared<host::DeviceRoot>(tempDir_ / "device", bundle, options.settings,
                                                 options.now);
    host::DeviceInitOptions init;
    init.messenger = options.messenger;
    init.legacyMessenger = options.legacyMessenger;
    host::DeviceInitResult laidOut = host::initDevice(device_->root(), init);
    EXPECT_TRUE(laidOut.ok) << laidOut.error;
    size_t next = 0;
    if (options.messenger && next < laidOut.messengerBundles.size()) {
        messengerBundle_ = laidOut.messengerBundles[next++];
    }
    if (options.legacyMessenger && next < laidOut.messengerBundles.size()) {
        legacyMessengerBundle_ = laidOut.messengerBundles[next++];
    }
    platform::setDeviceHost(device_);
}

TestDevice::~TestDevice() {
    forgetSharedState();
    platform::setDeviceHost(nullptr);
    if (!tempDir_.empty()) {
        std::error_code ec;
        fs::remove_all(tempDir_, ec);
    }
}

fs::path TestDevice::hostPath(std::string_view devicePath) const {
    auto path = device_->hostPath(devicePath);
    if (!path) {
        ADD_FAILURE() << "the device refuses the path " << devicePath;
        return {};
    }
    return *path;
}

void TestDevice::writeFile(std::string_view devicePath, std::string_view contents) const {
    const fs::path path = hostPath(devicePath);
    if (path.empty()) {
        return;
    }
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out) {
        ADD_FAILURE() << "cannot write " << path;
    }
}

std::optional<std::string> TestDevice::readFile(std::string_view devicePath) const {
    auto path = device_->hostPath(devicePath);
    if (!path) {
        return std::nullopt;
    }
    std::ifstream in(*path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool TestDevice::exists(std::string_view devicePath) const {
    auto path = device_->hostPath(devicePath);
    std::error_code ec;
    return path && fs::exists(fs::symlink_status(*path, ec));
}

} // namespace testsupport
