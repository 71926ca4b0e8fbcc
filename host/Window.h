#pragma once
// The screen in a desktop window: the frame scaled to the window (one window pixel per point),
// the mouse as the finger, the wheel scrolling what is under the pointer. All SDL calls live
// in Window.cpp.
#include "host/ScreenRenderer.h"

#include <memory>
#include <string>

namespace host {

class Window {
public:
    // Opens the window; null with `error` set when there is no display to open it on.
    static std::unique_ptr<Window> open(ScreenRenderer& screen, std::string& error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Renders the current frame and shows it.
    void present();
    // Hands pending input to the app; answers false once the window has been closed.
    bool handleEvents();
    // Input, main-loop work and redraws until the window is closed. Answers the exit status.
    int run();

private:
    struct Impl;
    explicit Window(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace host
