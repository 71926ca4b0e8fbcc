#include "platform/foundation/RunLoop.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    RunLoop::main().adoptCurrentThreadAsMain();
    return RUN_ALL_TESTS();
}
