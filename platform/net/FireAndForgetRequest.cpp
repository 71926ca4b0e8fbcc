#include "platform/net/FireAndForgetRequest.h"

#include "platform/net/HttpEngine.h"

void FireAndForgetRequest::send(const std::string& url, double timeoutSeconds) {
    HttpEngine::Transfer t;
    t.url = url;
    t.timeoutSeconds = timeoutSeconds;
    t.onBody = [](long, const std::string&, std::string_view) { return true; }; // read and dropped
    HttpEngine::shared().start(std::move(t));
}
