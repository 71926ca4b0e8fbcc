#include "app/screens/MyTonesController.h"

std::shared_ptr<MyTonesController> MyTonesController::initWithTitle(const std::string& title) {
    auto screen = std::make_shared<MyTonesController>();
    screen->setTitle(title);
    return screen;
}
