#include "platform/net/SyncFetch.h"

#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpEngine.h"

#include <cassert>
#include <condition_variable>
#include <memory>
#include <mutex>

std::optional<std::string> fetchDataSync(const std::string& url, double timeoutSeconds) {
    assert(!RunLoop::main().isMainThread() && "fetchDataSync blocks; call it off the main thread");
    if (HttpEngine::shared().isWorkerThread()) {
        return std::nullopt; // it would wait for the thread it blocks
    }
    struct State {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
        std::string body;
        std::optional<HttpEngine::Result> result;
    };
    auto state = std::make_shared<State>();
    HttpEngine::Transfer t;
    t.url = url;
    t.timeoutSeconds = timeoutSeconds;
    t.onBody = [state](long, const std::string&, std::string_view chunk) {
        state->body.append(chunk); // worker only; read after `done` under the lock
        return true;
    };
    t.onDone = [state](HttpEngine::Result r) {
        std::lock_guard lock(state->mutex);
        state->result = std::move(r);
        state->done = true;
        state->cv.notify_all();
    };
    HttpEngine::shared().start(std::move(t));
    std::unique_lock lock(state->mutex);
    state->cv.wait(lock, [&] { return state->done; });
    const HttpEngine::Result& r = *state->result;
    if (r.error || r.status < 200 || r.status > 299) {
        return std::nullopt;
    }
    return std::move(state->body);
}
