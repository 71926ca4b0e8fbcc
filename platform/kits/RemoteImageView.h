#pragma once
// Fills an image view from a URL through the shared remote image loader: the placeholder
// shows at once and stays when the image cannot be had. A later call for the same view
// supersedes the earlier one, so a reused row never shows a previous row's image.
// Main thread only.
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"

#include <memory>
#include <string>

class RemoteImageLoader;

namespace RemoteImageView {

void setImageWithURL(const std::shared_ptr<UIImageView>& imageView, const std::string& url,
                     std::shared_ptr<UIImage> placeholder);
// The same through a given loader (tests use their own cache folder).
void setImageWithURL(const std::shared_ptr<UIImageView>& imageView, const std::string& url,
                     std::shared_ptr<UIImage> placeholder,
                     const std::shared_ptr<RemoteImageLoader>& loader);

} // namespace RemoteImageView
