#include "host/AutomationScript.h"

#include <gtest/gtest.h>

using host::parseScriptLine;
using Kind = host::ScriptCommand::Kind;

namespace {

struct GoodLine {
    const char* line;
    Kind kind;
    double x1, y1, x2, y2, ms;
    const char* path;
};

class ScriptGoodLine : public testing::TestWithParam<GoodLine> {};

TEST_P(ScriptGoodLine, Reads) {
    const auto& c = GetParam();
    auto r = parseScriptLine(c.line);
    ASSERT_TRUE(r.command) << r.error;
    EXPECT_EQ(r.command->kind, c.kind);
    EXPECT_DOUBLE_EQ(r.command->x1, c.x1);
    EXPECT_DOUBLE_EQ(r.command->y1, c.y1);
    EXPECT_DOUBLE_EQ(r.command->x2, c.x2);
    EXPECT_DOUBLE_EQ(r.command->y2, c.y2);
    EXPECT_DOUBLE_EQ(r.command->ms, c.ms);
    EXPECT_EQ(r.command->path, c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ScriptGoodLine,
    testing::Values(GoodLine{"", Kind::None, 0, 0, 0, 0, 0, ""},
                    GoodLine{"   \t ", Kind::None, 0, 0, 0, 0, 0, ""},
                    GoodLine{"# a comment", Kind::None, 0, 0, 0, 0, 0, ""},
                    GoodLine{"tap 160 300", Kind::Tap, 160, 300, 0, 0, 0, ""},
                    GoodLine{"  tap 10.5 20.25  # the button", Kind::Tap, 10.5, 20.25, 0, 0, 0, ""},
                    GoodLine{"tap 1 2\r", Kind::Tap, 1, 2, 0, 0, 0, ""},
                    GoodLine{"press 5 6", Kind::Press, 5, 6, 0, 0, 0, ""},
                    GoodLine{"release 7 8", Kind::Release, 7, 8, 0, 0, 0, ""},
                    GoodLine{"drag 160 400 160 100", Kind::Drag, 160, 400, 160, 100, 300, ""},
                    GoodLine{"drag 300 80 40 80 150", Kind::Drag, 300, 80, 40, 80, 150, ""},
                    GoodLine{"wait 250", Kind::Wait, 0, 0, 0, 0, 250, ""},
                    GoodLine{"wait 0", Kind::Wait, 0, 0, 0, 0, 0, ""},
                    GoodLine{"idle", Kind::Idle, 0, 0, 0, 0, 10000, ""},
                    GoodLine{"idle 2000", Kind::Idle, 0, 0, 0, 0, 2000, ""},
                    GoodLine{"activate", Kind::Activate, 0, 0, 0, 0, 0, ""},
                    GoodLine{"deactivate", Kind::Deactivate, 0, 0, 0, 0, 0, ""},
                    GoodLine{"shot /tmp/a.png", Kind::Shot, 0, 0, 0, 0, 0, "/tmp/a.png"},
                    GoodLine{"dump out.json", Kind::Dump, 0, 0, 0, 0, 0, "out.json"},
                    GoodLine{"dump -", Kind::Dump, 0, 0, 0, 0, 0, "-"},
                    GoodLine{"quit", Kind::Quit, 0, 0, 0, 0, 0, ""}));

class ScriptBadLine : public testing::TestWithParam<const char*> {};

TEST_P(ScriptBadLine, IsRefusedWithAReason) {
    auto r = parseScriptLine(GetParam());
    EXPECT_FALSE(r.command);
    EXPECT_FALSE(r.error.empty());
}

INSTANTIATE_TEST_SUITE_P(Errors, ScriptBadLine,
                         testing::Values("tapp 1 2", "TAP 1 2", "tap", "tap 1", "tap 1 2 3",
                                         "tap x 2", "tap 1 2px", "tap 1e999 2", "drag 1 2 3",
                                         "drag 1 2 3 4 5 6", "wait", "wait -5", "wait soon",
                                         "idle 1 2", "idle -1", "drag 1 2 3 4 -1", "activate now",
                                         "shot", "shot -", "dump", "dump a b", "quit now"));

TEST(ScriptLine, UnknownCommandIsNamedInTheError) {
    auto r = parseScriptLine("swipe 1 2");
    EXPECT_NE(r.error.find("swipe"), std::string::npos);
}

} // namespace
