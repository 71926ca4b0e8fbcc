#include "app/screens/SettingViewController.h"

std::shared_ptr<SettingViewController>
SettingViewController::initWithTitle(const std::string& title) {
    auto screen = std::make_shared<SettingViewController>();
    screen->setTitle(title);
    return screen;
}
