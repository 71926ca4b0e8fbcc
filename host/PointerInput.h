#pragma once
// The desktop pointer as the phone's input: the mouse button is a finger on the key window,
// the wheel scrolls what lies under the pointer.
#include "platform/uikit/UIGeometry.h"
#include "platform/uikit/UIWindow.h"

namespace host {

void fingerTouch(UITouchPhase phase, CGPoint point);

// Scrolls the nearest enabled scroll view under `point` by `dy` (positive shows what lies
// further down). Answers whether one took it; nothing scrolls while a finger is down.
bool wheelScroll(CGPoint point, double dy);

} // namespace host
