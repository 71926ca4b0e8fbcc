#pragma once
// A GET whose reply nobody waits for (reports, pings). It still counts as work in flight
// for the run loop's idle test until the transfer has ended.
#include <string>

class FireAndForgetRequest {
public:
    // What the platform allows a request when its caller names no time-out.
    static constexpr double kDefaultTimeoutSeconds = 30;

    static void send(const std::string& url, double timeoutSeconds = kDefaultTimeoutSeconds);
};
