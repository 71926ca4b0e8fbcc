#include "host/StatusBar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace {

class StatusBarTime : public testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? std::optional<std::string>(tz) : std::nullopt;
        ::setenv("TZ", "Asia/Shanghai", 1);
        ::tzset();
    }
    void TearDown() override {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    std::optional<std::string> saved_;
};

TEST_F(StatusBarTime, FormatsTheLocalTimeForTheLanguage) {
    struct Case {
        double seconds;
        const char* language;
        const char* expected;
    };
    const Case cases[] = {
        {1778396400, "en", "3:00 PM"},       // 2026-05-10 15:00 in Shanghai
        {1778396400 + 59, "en", "3:00 PM"},  // seconds are not shown
        {1778342700, "en", "12:05 AM"},      // just after midnight
        {1778387400, "en", "12:30 PM"},      // just after noon
        {1778396400, "zh-Hans", "下午3:00"}, //
        {1778342700, "zh-Hant", "上午12:05"}, {1778396400, "ja", "3:00 PM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        EXPECT_EQ(host::StatusBar::timeText(c.seconds, c.language), c.expected);
    }
}

int inkRows(render::Canvas& canvas, int fromRow, int toRow, bool dark) {
    int w = 0, h = 0, stride = 0;
    const unsigned char* px = canvas.pixels(w, h, stride);
    int n = 0;
    for (int y = fromRow; y < std::min(toRow, h); ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t p = *reinterpret_cast<const uint32_t*>(px + y * stride + x * 4);
            unsigned a = p >> 24, r = (p >> 16) & 0xff;
            if (a > 128 && (dark ? r < 64 : r > 192)) {
                ++n;
            }
        }
    }
    return n;
}

TEST(StatusBarDrawing, StaysInItsTwentyPointsInTheChosenInk) {
    for (bool dark : {true, false}) {
        SCOPED_TRACE(dark);
        auto canvas = render::Canvas::create(320, 40, 2);
        host::StatusBar::draw(*canvas, 320, "3:00 PM", dark);
        EXPECT_GT(inkRows(*canvas, 0, 40, dark), 200);
        EXPECT_EQ(inkRows(*canvas, 0, 40, !dark), 0);
        EXPECT_EQ(inkRows(*canvas, 40, 80, dark), 0);
    }
}

} // namespace
