#pragma once
// The settings screen, root of the fourth tab.
#include "platform/uikit/UIViewController.h"

#include <memory>
#include <string>

class SettingViewController : public UIViewController {
public:
    static std::shared_ptr<SettingViewController> initWithTitle(const std::string& title);

    SettingViewController() = default; // use initWithTitle
};
