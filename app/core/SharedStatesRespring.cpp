#include "app/core/SharedStates.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/SystemCommand.h"
#include "platform/uikit/UIAlertView.h"

namespace {

constexpr int kRespringAlertTag = 106;
constexpr int kRespringNowIndex = 1;

std::string localized(const std::string& key) {
    return NSBundle::mainBundle()->localizedStringForKey(key, "", "");
}

} // namespace

void SharedStates::showRespringNotice(const std::string& message) {
    std::weak_ptr<UIAlertViewDelegate> delegate = shared_from_this();
    auto alert =
        UIAlertView::initWithTitle(localized("Notice"), message, delegate,
                                   localized("Reboot myself later"), {localized("Respring now")});
    alert->setTag(kRespringAlertTag);
    alert->show();
}

void SharedStates::clickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alertView,
                                        int buttonIndex) {
    if (alertView && alertView->tag() == kRespringAlertTag && buttonIndex == kRespringNowIndex) {
        // The home screen must restart before the messenger plays its new sound.
        runSystemCommand("killall SpringBoard");
    }
}
