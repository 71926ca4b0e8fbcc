#include "host/Window.h"

#include "host/PointerInput.h"
#include "platform/foundation/RunLoop.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace host {
namespace {

// One wheel notch moves the content this far, like a short flick.
constexpr double kWheelStep = 40;
// Longest sleep of the interactive loop between checks of the main loop.
constexpr Uint32 kFrameMs = 16;

} // namespace

struct Window::Impl {
    ScreenRenderer& screen;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool fingerDown = false;
    bool closed = false;
    bool dirty = true;

    explicit Impl(ScreenRenderer& s) : screen(s) {}
    ~Impl() {
        if (texture) {
            SDL_DestroyTexture(texture);
        }
        if (renderer) {
            SDL_DestroyRenderer(renderer);
        }
        if (window) {
            SDL_DestroyWindow(window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
};

Window::Window(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Window::~Window() = default;

std::unique_ptr<Window> Window::open(ScreenRenderer& screen, std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    auto impl = std::make_unique<Impl>(screen);
    // SDL falls back to drawing nowhere when there is no display; that only counts as a
    // window when asked for by name (tests do).
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if ((driver == "offscreen" || driver == "dummy") && !SDL_getenv("SDL_VIDEODRIVER")) {
        error = "no display";
        return nullptr;
    }
    const auto& s = screen.settings();
    const int w = static_cast<int>(std::lround(s.screenWidth));
    const int h = static_cast<int>(std::lround(s.screenHeight));
    impl->window = SDL_CreateWindow("Chimora", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                    SDL_WINDOW_SHOWN);
    if (!impl->window) {
        error = SDL_GetError();
        return nullptr;
    }
    impl->renderer = SDL_CreateRenderer(impl->window, -1, 0);
    if (!impl->renderer) {
        error = SDL_GetError();
        return nullptr;
    }
    // The texture holds the frame at the screen's scale; the renderer scales it to points.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    const int pw = static_cast<int>(std::ceil(s.screenWidth * s.screenScale));
    const int ph = static_cast<int>(std::ceil(s.screenHeight * s.screenScale));
    impl->texture = SDL_CreateTexture(impl->renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STREAMING, pw, ph);
    if (!impl->texture) {
        error = SDL_GetError();
        return nullptr;
    }
    return std::unique_ptr<Window>(new Window(std::move(impl)));
}

void Window::present() {
    render::Canvas& canvas = impl_->screen.render();
    int w = 0, h = 0, stride = 0;
    const unsigned char* px = canvas.pixels(w, h, stride);
    SDL_UpdateTexture(impl_->texture, nullptr, px, stride);
    SDL_RenderClear(impl_->renderer);
    SDL_RenderCopy(impl_->renderer, impl_->texture, nullptr, nullptr);
    SDL_RenderPresent(impl_->renderer);
    impl_->dirty = false;
}

bool Window::handleEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            impl_->closed = true;
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                impl_->closed = true;
            } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                impl_->dirty = true;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) {
                impl_->fingerDown = true;
                fingerTouch(UITouchPhaseBegan, CGPointMake(e.button.x, e.button.y));
                impl_->dirty = true;
            }
            break;
        case SDL_MOUSEMOTION:
            if (impl_->fingerDown) {
                fingerTouch(UITouchPhaseMoved, CGPointMake(e.motion.x, e.motion.y));
                impl_->dirty = true;
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT && impl_->fingerDown) {
                impl_->fingerDown = false;
                fingerTouch(UITouchPhaseEnded, CGPointMake(e.button.x, e.button.y));
                impl_->dirty = true;
            }
            break;
        case SDL_MOUSEWHEEL: {
            int mx = 0, my = 0;
            SDL_GetMouseState(&mx, &my);
            const double dir = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
            // Wheel up (positive y) shows what lies above.
            wheelScroll(CGPointMake(mx, my), -e.wheel.y * kWheelStep * dir);
            impl_->dirty = true;
            break;
        }
        default:
            break;
        }
    }
    return !impl_->closed;
}

int Window::run() {
    RunLoop& loop = RunLoop::main();
    while (handleEvents()) {
        bool ran = false;
        while (loop.runOnce()) {
            ran = true;
        }
        if (ran || impl_->dirty) {
            present();
        }
        // Sleep until input or the next timer, at most a frame.
        Uint32 wait = kFrameMs;
        double next = 0;
        if (loop.nextTimerDate(next)) {
            double ms = std::max(0.0, (next - RunLoop::now()) * 1000);
            wait = static_cast<Uint32>(std::min<double>(kFrameMs, ms));
        }
        if (loop.isIdle() && wait > 0) {
            SDL_WaitEventTimeout(nullptr, static_cast<int>(wait));
        }
    }
    return 0;
}

} // namespace host
