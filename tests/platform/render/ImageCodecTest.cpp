#include "platform/render/Canvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ImageCodec : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("render-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string readAll(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path dir_;
};

TEST_F(ImageCodec, WrittenPNGDecodesToTheSamePixels) {
    auto canvas = render::Canvas::create(8, 4, 2);
    canvas->fillRect(render::Rect{0, 0, 4, 4}, render::Color{1, 0, 0, 1});
    canvas->fillRect(render::Rect{4, 0, 4, 2}, render::Color{0, 0, 1, 0.5});
    auto path = (dir_ / "shot.png").string();
    ASSERT_TRUE(canvas->writePNG(path));

    auto bitmap = render::decodeImageFile(path, 2);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 16);
    EXPECT_EQ(bitmap->height, 8);
    EXPECT_DOUBLE_EQ(bitmap->pointWidth(), 8);
    EXPECT_DOUBLE_EQ(bitmap->pointHeight(), 4);
    int w = 0, h = 0, stride = 0;
    const unsigned char* px = canvas->pixels(w, h, stride);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            auto expected = *reinterpret_cast<const uint32_t*>(px + y * stride + x * 4);
            ASSERT_EQ(bitmap->argb[static_cast<size_t>(y) * w + x], expected) << x << "," << y;
        }
    }
    // Bytes in memory decode the same as the file.
    auto fromBytes = render::decodeImage(readAll(path), 1);
    ASSERT_TRUE(fromBytes);
    EXPECT_EQ(fromBytes->argb, bitmap->argb);
    EXPECT_DOUBLE_EQ(fromBytes->pointWidth(), 16);
}

TEST_F(ImageCodec, UndecodableInputAnswersNothing) {
    auto canvas = render::Canvas::create(4, 4, 1);
    canvas->fillRect(render::Rect{0, 0, 4, 4}, render::Color{0, 1, 0, 1});
    auto path = (dir_ / "ok.png").string();
    ASSERT_TRUE(canvas->writePNG(path));
    std::string png = readAll(path);

    const std::string cases[] = {"", "not an image", png.substr(0, 8),
                                 png.substr(0, png.size() / 2),
                                 std::string("\xff\xd8\xff\xe0", 4) + "JFIF"};
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        EXPECT_FALSE(render::decodeImage(bytes));
    }
    EXPECT_FALSE(render::decodeImageFile((dir_ / "missing.png").string()));
    EXPECT_FALSE(render::decodeImage(png, 0));
}

TEST_F(ImageCodec, WritingToAMissingFolderFails) {
    auto canvas = render::Canvas::create(4, 4, 1);
    EXPECT_FALSE(canvas->writePNG((dir_ / "no" / "such" / "dir.png").string()));
}

} // namespace
