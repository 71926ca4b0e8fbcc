#include "platform/uikit/UIImage.h"
#include "platform/render/Canvas.h"
#include "platform/uikit/UIImageView.h"
#include "tests/support/TestDevice.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// A bundle folder holding PNGs of distinct pixel sizes, so the size tells which file loaded.
class ImageBundle : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("uikit-images-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        writePNG("both.png", 10, 10);
        writePNG("both@2x.png", 40, 20);
        writePNG("only1x.png", 12, 6);
        writePNG("only2x@2x.png", 30, 30);
        std::ofstream(dir / "broken.png") << "not a png";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void writePNG(const std::string& name, int w, int h) {
        auto canvas = render::Canvas::create(w, h, 1);
        canvas->fillRect({0, 0, double(w), double(h)}, {1, 0, 0, 1});
        ASSERT_TRUE(canvas->writePNG((dir / name).string()));
    }
    std::unique_ptr<testsupport::TestDevice> device(double scale) {
        testsupport::TestDevice::Options options;
        options.settings.screenScale = scale;
        options.appBundle = dir;
        return std::make_unique<testsupport::TestDevice>(options);
    }
    fs::path dir;
};

struct NamedCase {
    double screenScale;
    const char* name;
    CGSize points; // width 0: no image
    double scale;
};

class ImageNamedTable : public ImageBundle, public testing::WithParamInterface<NamedCase> {};

TEST_P(ImageNamedTable, PicksTheFileForTheScreen) {
    const auto& c = GetParam();
    auto dev = device(c.screenScale);
    auto image = UIImage::imageNamed(c.name);
    if (c.points.width == 0) {
        EXPECT_EQ(image, nullptr) << c.name;
        return;
    }
    ASSERT_NE(image, nullptr) << c.name;
    EXPECT_EQ(image->size(), c.points) << c.name;
    EXPECT_EQ(image->scale(), c.scale) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ImageNamedTable,
    testing::Values(NamedCase{2, "both", {20, 10}, 2}, NamedCase{2, "both.png", {20, 10}, 2},
                    NamedCase{1, "both", {10, 10}, 1}, NamedCase{2, "only1x", {12, 6}, 1},
                    NamedCase{1, "only2x", {15, 15}, 2}, NamedCase{2, "missing", {0, 0}, 0},
                    NamedCase{2, "", {0, 0}, 0}, NamedCase{2, "broken", {0, 0}, 0}));

TEST_F(ImageBundle, KeepsTheNameForTheDump) {
    auto dev = device(2);
    auto view = UIImageView::initWithImage(UIImage::imageNamed("both.png"));
    EXPECT_EQ(view->frame().size, CGSizeMake(20, 10));
    EXPECT_EQ(view->dumpTree().get("image")->asString(), "both");
    view->setImage(nullptr);
    EXPECT_TRUE(view->dumpTree().get("image")->isNull());
}

TEST_F(ImageBundle, ImageWithDataDecodesBytesOrAnswersNull) {
    std::ifstream in(dir / "only1x.png", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    auto image = UIImage::imageWithData(bytes.str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), CGSizeMake(12, 6));
    EXPECT_EQ(UIImage::imageWithData("garbage"), nullptr);
    EXPECT_EQ(UIImage::imageWithBitmap(nullptr), nullptr);
}

TEST(UIImageViewHighlight, HighlightedImageShowsOnlyWhileHighlighted) {
    auto normal = UIImage::imageWithBitmap(std::make_shared<render::Bitmap>(), "n");
    auto lit = UIImage::imageWithBitmap(std::make_shared<render::Bitmap>(), "h");
    auto view = UIImageView::initWithFrame(CGRectMake(0, 0, 10, 10));
    view->setImage(normal);
    view->setHighlighted(true);
    EXPECT_EQ(view->currentImage(), normal); // no highlighted image yet
    view->setHighlightedImage(lit);
    EXPECT_EQ(view->currentImage(), lit);
    view->setHighlighted(false);
    EXPECT_EQ(view->currentImage(), normal);
}

} // namespace
