#include "platform/foundation/SystemCommand.h"

#include "tests/platform/foundation/FakeDeviceHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class CommandHost : public foundation_test::FakeDeviceHost {
public:
    int runCommand(const std::string& command) override {
        commands.push_back(command);
        return status;
    }
    std::vector<std::string> commands;
    int status = 0;
};

TEST(SystemCommandTest, TheHostGetsTheWholeLineAndItsStatusComesBack) {
    auto host = std::make_shared<CommandHost>();
    platform::setDeviceHost(host);
    EXPECT_EQ(runSystemCommand("killall SpringBoard"), 0);
    host->status = 256; // what `system` answers for an exit code of 1
    EXPECT_EQ(runSystemCommand("echo 'two words'; false"), 256);
    EXPECT_EQ(host->commands,
              (std::vector<std::string>{"killall SpringBoard", "echo 'two words'; false"}));
    platform::setDeviceHost(nullptr);
}

} // namespace
