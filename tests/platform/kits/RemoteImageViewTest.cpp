#include "platform/kits/RemoteImageView.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/RemoteImageLoader.h"
#include "platform/render/Canvas.h"
#include "service/TestCatalogue.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

// Image views filled from URLs: the placeholder first, then the fetched image, never an
// image from a load that a later one superseded.
namespace {

std::shared_ptr<UIImage> placeholder() {
    auto bitmap = std::make_shared<render::Bitmap>();
    bitmap->width = 1;
    bitmap->height = 1;
    bitmap->argb = {0xff00ff00u};
    return UIImage::imageWithBitmap(bitmap, "placeholder");
}

bool settle() {
    return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 20);
}

class RemoteImageViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalogue.ok()) << catalogue.error();
        const auto tones = catalogue.store().allTones();
        ASSERT_FALSE(tones.empty());
        iconURL = catalogue.baseURL() + "icons/" + std::to_string(tones.front().id) + ".png";
        loader = RemoteImageLoader::create();
        view = UIImageView::initWithFrame(CGRectMake(10, 10, 32, 32));
    }

    testsupport::TestDevice dev;
    chimora::service::TestCatalogue catalogue{3};
    std::string iconURL;
    std::shared_ptr<RemoteImageLoader> loader;
    std::shared_ptr<UIImageView> view;
    std::shared_ptr<UIImage> stand = placeholder();
};

TEST_F(RemoteImageViewTest, ThePlaceholderShowsUntilTheImageArrives) {
    RemoteImageView::setImageWithURL(view, iconURL, stand, loader);
    EXPECT_EQ(view->image(), stand);
    ASSERT_TRUE(settle());
    ASSERT_TRUE(view->image());
    EXPECT_NE(view->image(), stand);
    EXPECT_GT(view->image()->bitmap().width, 1);
    EXPECT_GT(view->image()->bitmap().height, 1);
}

TEST_F(RemoteImageViewTest, AFailedLoadKeepsThePlaceholder) {
    for (const std::string& url :
         {catalogue.baseURL() + "icons/none.png", catalogue.baseURL() + "api/get_tones.php",
          std::string("http://127.0.0.1:1/x.png"), std::string()}) {
        RemoteImageView::setImageWithURL(view, url, stand, loader);
        ASSERT_TRUE(settle());
        EXPECT_EQ(view->image(), stand) << url;
    }
}

TEST_F(RemoteImageViewTest, ALaterLoadForTheSameViewWins) {
    RemoteImageView::setImageWithURL(view, iconURL, stand, loader);
    RemoteImageView::setImageWithURL(view, std::string(), stand, loader);
    ASSERT_TRUE(settle());
    EXPECT_EQ(view->image(), stand);

    // Cached now: a hit fills the view at once.
    RemoteImageView::setImageWithURL(view, iconURL, stand, loader);
    ASSERT_TRUE(settle());
    auto fetched = view->image();
    ASSERT_NE(fetched, stand);
    auto other = UIImageView::initWithFrame(CGRectMake(0, 0, 32, 32));
    RemoteImageView::setImageWithURL(other, iconURL, stand, loader);
    EXPECT_NE(other->image(), stand);
}

TEST_F(RemoteImageViewTest, AViewGoneBeforeItsImageIsLeftAlone) {
    RemoteImageView::setImageWithURL(view, iconURL, stand, loader);
    view.reset();
    EXPECT_TRUE(settle());
}

} // namespace
