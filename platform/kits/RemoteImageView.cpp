#include "platform/kits/RemoteImageView.h"

#include "platform/net/RemoteImageLoader.h"
#include "platform/render/Canvas.h"

namespace RemoteImageView {

void setImageWithURL(const std::shared_ptr<UIImageView>& imageView, const std::string& url,
                     std::shared_ptr<UIImage> placeholder) {
    setImageWithURL(imageView, url, std::move(placeholder), RemoteImageLoader::shared());
}

void setImageWithURL(const std::shared_ptr<UIImageView>& imageView, const std::string& url,
                     std::shared_ptr<UIImage> placeholder,
                     const std::shared_ptr<RemoteImageLoader>& loader) {
    if (!imageView) {
        return;
    }
    imageView->setImage(std::move(placeholder));
    if (!loader) {
        return;
    }
    if (url.empty()) {
        // Nothing to fetch; an earlier load for this view must not land on it later.
        loader->cancel(imageView.get());
        return;
    }
    std::weak_ptr<UIImageView> weak = imageView;
    loader->load(imageView.get(), url, [weak](RemoteImageLoader::Image image) {
        auto view = weak.lock();
        if (!view || !image || image->width <= 0 || image->height <= 0) {
            return;
        }
        auto bitmap = std::make_shared<render::Bitmap>();
        bitmap->width = image->width;
        bitmap->height = image->height;
        bitmap->argb = image->argb;
        view->setImage(UIImage::imageWithBitmap(std::move(bitmap)));
    });
}

} // namespace RemoteImageView
