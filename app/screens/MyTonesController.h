#pragma once
// The downloaded tones screen, root of the third tab.
#include "platform/uikit/UIViewController.h"

#include <memory>
#include <string>

class MyTonesController : public UIViewController {
public:
    static std::shared_ptr<MyTonesController> initWithTitle(const std::string& title);

    MyTonesController() = default; // use initWithTitle
};
