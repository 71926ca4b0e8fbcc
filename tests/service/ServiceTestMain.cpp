#include <gtest/gtest.h>

#include <csignal>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // A client that drops a connection must not end the test run.
    std::signal(SIGPIPE, SIG_IGN);
    return RUN_ALL_TESTS();
}
