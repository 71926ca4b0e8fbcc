#pragma once
// The device's screen, as the host's device settings describe it.
#include "platform/uikit/UIGeometry.h"
#include <memory>

class UIScreen {
public:
    static std::shared_ptr<UIScreen> mainScreen();

    CGRect bounds() const;
    double scale() const;
    // The bounds less the status bar at the top.
    CGRect applicationFrame() const;
};
