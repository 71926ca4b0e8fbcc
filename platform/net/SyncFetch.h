#pragma once
// Fetching a URL's body while the caller waits, for worker threads (the platform's
// "data with the contents of a URL"). Never call it on the main thread, whose loop would
// stall, nor from a network callback, which would wait for itself.
#include <optional>
#include <string>

// The body of a 2xx reply, or nothing on any failure (transport, status, time-out).
std::optional<std::string> fetchDataSync(const std::string& url, double timeoutSeconds = 60);
