#pragma once
// One entry of a tab bar: title, image and tag.
#include <functional>
#include <memory>
#include <string>

class UIImage;

class UITabBarItem {
public:
    UITabBarItem() = default;
    static std::shared_ptr<UITabBarItem> initWithTitle(std::string title,
                                                       std::shared_ptr<UIImage> image, int tag) {
        auto item = std::make_shared<UITabBarItem>();
        item->title_ = std::move(title);
        item->image_ = std::move(image);
        item->tag_ = tag;
        return item;
    }

    const std::string& title() const { return title_; }
    void setTitle(std::string t) { title_ = std::move(t), changed(); }
    const std::shared_ptr<UIImage>& image() const { return image_; }
    void setImage(std::shared_ptr<UIImage> i) { image_ = std::move(i), changed(); }
    int tag() const { return tag_; }
    void setTag(int t) { tag_ = t; }

    // The bar showing the item redraws when it changes.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

private:
    void changed() const {
        if (changed_) {
            changed_();
        }
    }
    std::string title_;
    std::shared_ptr<UIImage> image_;
    int tag_ = 0;
    std::function<void()> changed_;
};
