#pragma once
// A GET whose reply is decoded as JSON. Both outcomes arrive on the main thread; until one
// of them has been handled the request keeps its callbacks, and whatever they hold, alive.
#include "platform/foundation/Json.h"
#include "platform/net/NetError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class JsonRequest : public std::enable_shared_from_this<JsonRequest> {
public:
    using Success = std::function<void(const Json&)>;
    using Failure = std::function<void(const NetError&)>;

    // The content types every request accepts.
    static const std::vector<std::string>& jsonContentTypes();

    static std::shared_ptr<JsonRequest> requestWithURL(std::string url, double timeoutSeconds);

    const std::string& url() const { return url_; }
    double timeoutSeconds() const { return timeoutSeconds_; }
    // Accept another reply type besides the JSON ones (compared without parameters or case).
    void addAcceptableContentType(std::string type);
    const std::vector<std::string>& acceptableContentTypes() const { return acceptable_; }

    // Main thread. Starts once; later calls are ignored.
    void start(Success success, Failure failure);
    // Main thread. Neither callback runs afterwards; they are released at once.
    void cancel();
    bool isFinished() const { return finished_; }

    JsonRequest(std::string url, double timeoutSeconds); // use requestWithURL

private:
    void deliver(long status, const std::string& contentType, std::string body,
                 std::optional<NetError> transportError);
    bool accepts(const std::string& contentType) const;

    std::string url_;
    double timeoutSeconds_;
    std::vector<std::string> acceptable_;
    Success success_;
    Failure failure_;
    uint64_t transferId_ = 0;
    bool started_ = false;
    bool finished_ = false; // delivered or cancelled
};
