#pragma once
// The one network worker: a thread driving every transfer of the process through a single
// curl multi handle, so connections are shared and no facility spawns threads of its own.
#include "platform/net/NetError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class HttpEngine {
public:
    struct Result {
        std::optional<NetError> error; // transport failures only; the status is the caller's
        long status = 0;
        std::string contentType;  // as sent, parameters included
        std::string contentRange; // "bytes 0-9/100", "bytes */100" or empty
    };

    struct Transfer {
        std::string url;
        std::vector<std::string> headers; // "Name: value"
        double timeoutSeconds = 0;        // whole transfer; 0 = no limit
        double stallSeconds = 0;          // abort when nothing arrives for this long; 0 = never
        // Worker thread. Body bytes of the final reply with its status and Content-Range
        // (empty when none); false aborts.
        std::function<bool(long status, const std::string& contentRange, std::string_view chunk)>
            onBody;
        // Worker thread. Bytes received so far and expected in all (0 when unknown).
        std::function<void(int64_t received, int64_t expected)> onProgress;
        // Worker thread, exactly once: on completion, failure or cancellation.
        std::function<void(Result)> onDone;
    };

    static HttpEngine& shared();

    // Safe from any thread, including from inside the callbacks. Answers an id for cancel.
    uint64_t start(Transfer transfer);
    // The transfer ends with a Cancelled error (onDone still runs) unless it already ended.
    void cancel(uint64_t id);

    bool isWorkerThread() const;

private:
    HttpEngine();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
