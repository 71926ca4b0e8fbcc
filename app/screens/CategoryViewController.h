#pragma once
// The categories screen, root of the second tab.
#include "platform/uikit/UIViewController.h"

#include <memory>
#include <string>

class CategoryViewController : public UIViewController {
public:
    static std::shared_ptr<CategoryViewController> initWithTitle(const std::string& title);

    CategoryViewController() = default; // use initWithTitle
};
