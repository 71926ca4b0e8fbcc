#include "app/screens/CategoryViewController.h"

std::shared_ptr<CategoryViewController>
CategoryViewController::initWithTitle(const std::string& title) {
    auto screen = std::make_shared<CategoryViewController>();
    screen->setTitle(title);
    return screen;
}
