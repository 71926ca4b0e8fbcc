#include "app/storage/Utility.h"

#include "platform/foundation/NSBundle.h"
#include "platform/kits/NoticeOverlay.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

#include <array>
#include <utility>

void Utility::showNotice(const std::string& text) {
    showNotice(text, 1);
}

void Utility::showLongNotice(const std::string& text) {
    showNotice(text, 1);
}

void Utility::showNotice(const std::string& text, int seconds) {
    auto overlay = NoticeOverlay::create();
    overlay->setOpacity(0.6);
    overlay->setDisappearScaleFactor(1.0);
    overlay->setHasShadow(true);
    // A notice never stands between the user and the screen.
    overlay->setTouches(NoticeTouches::PassThrough);

    auto window = UIApplication::sharedApplication()->keyWindow();
    auto root = window ? window->rootViewController() : nullptr;
    if (!root) {
        return;
    }
    root->view()->addSubview(overlay);
    overlay->setCaption(text);
    overlay->show();
    overlay->hideAfterDelay(static_cast<double>(seconds));
}

void Utility::showToneSelectedFailureNotice() {
    showNotice(NSBundle::mainBundle()->localizedStringForKey("Tone Selected Failure", "", ""));
}

std::optional<std::string> Utility::getAppName() {
    auto name = NSBundle::mainBundle()->objectForInfoDictionaryKey("CFBundleDisplayName");
    if (!name) {
        return std::nullopt;
    }
    // Only the edition word goes; a space before it stays.
    static const std::array<std::string, 3> editions = {"Pro", "Lite", "Free"};
    for (const auto& word : editions) {
        if (name->size() >= word.size() &&
            name->compare(name->size() - word.size(), word.size(), word) == 0) {
            return name->substr(0, name->size() - word.size());
        }
    }
    return name;
}

std::shared_ptr<UIView> Utility::getSeperatorLine(CGRect frame) {
    auto line = UIView::initWithFrame(frame);
    line->setBackgroundColor(UIColor::colorWithRed(222 / 255.0, 222 / 255.0, 222 / 255.0, 1.0));
    return line;
}
