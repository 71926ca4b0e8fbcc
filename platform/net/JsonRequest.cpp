#include "platform/net/JsonRequest.h"

#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpEngine.h"
#include "platform/net/MediaType.h"

#include <algorithm>

namespace {
// A catalogue page is a few kilobytes; anything far beyond is not a reply we want.
constexpr size_t kMaxBodyBytes = 16u << 20;
} // namespace

const std::vector<std::string>& JsonRequest::jsonContentTypes() {
    static const std::vector<std::string> types = {"application/json", "text/json",
                                                   "text/javascript"};
    return types;
}

std::shared_ptr<JsonRequest> JsonRequest::requestWithURL(std::string url, double timeoutSeconds) {
    return std::make_shared<JsonRequest>(std::move(url), timeoutSeconds);
}

JsonRequest::JsonRequest(std::string url, double timeoutSeconds)
    : url_(std::move(url)), timeoutSeconds_(timeoutSeconds), acceptable_(jsonContentTypes()) {}

void JsonRequest::addAcceptableContentType(std::string type) {
    std::string media = MediaType::essence(type);
    if (!media.empty() &&
        std::find(acceptable_.begin(), acceptable_.end(), media) == acceptable_.end()) {
        acceptable_.push_back(std::move(media));
    }
}

bool JsonRequest::accepts(const std::string& contentType) const {
    std::string media = MediaType::essence(contentType);
    return !media.empty() &&
           std::find(acceptable_.begin(), acceptable_.end(), media) != acceptable_.end();
}

void JsonRequest::start(Success success, Failure failure) {
    if (started_) {
        return;
    }
    started_ = true;
    success_ = std::move(success);
    failure_ = std::move(failure);

    struct Reply {
        std::string body;
    };
    auto reply = std::make_shared<Reply>();
    HttpEngine::Transfer t;
    t.url = url_;
    t.headers = {"Accept: application/json, text/json, text/javascript, */*;q=0.5"};
    t.timeoutSeconds = timeoutSeconds_;
    t.onBody = [reply](long, const std::string&, std::string_view chunk) {
        if (reply->body.size() + chunk.size() > kMaxBodyBytes) {
            return false;
        }
        reply->body.append(chunk);
        return true;
    };
    t.onDone = [self = shared_from_this(), reply](HttpEngine::Result r) {
        dispatchMain([self, reply, r = std::move(r)]() mutable {
            self->deliver(r.status, r.contentType, std::move(reply->body), std::move(r.error));
        });
    };
    transferId_ = HttpEngine::shared().start(std::move(t));
}

void JsonRequest::cancel() {
    if (finished_) {
        return;
    }
    finished_ = true;
    success_ = nullptr;
    failure_ = nullptr;
    if (transferId_) {
        HttpEngine::shared().cancel(transferId_);
    }
}

void JsonRequest::deliver(long status, const std::string& contentType, std::string body,
                          std::optional<NetError> transportError) {
    if (finished_) {
        return; // cancelled after the reply was on its way
    }
    finished_ = true;
    auto success = std::move(success_);
    auto failure = std::move(failure_);
    success_ = nullptr;
    failure_ = nullptr;

    auto fail = [&](NetError e) {
        e.httpStatus = status;
        if (failure) {
            failure(e);
        }
    };
    if (transportError) {
        fail(std::move(*transportError));
        return;
    }
    if (status < 200 || status > 299) {
        fail({NetError::Code::HttpStatus, status,
              "the server answered with status " + std::to_string(status)});
        return;
    }
    if (!accepts(contentType)) {
        fail({NetError::Code::BadContentType, status,
              "unacceptable content type \"" + contentType + "\""});
        return;
    }
    // Differs from the device: an empty body is a failure rather than an absent value; the
    // callers treat both alike.
    std::optional<Json> json = Json::parse(body);
    if (!json) {
        fail({NetError::Code::NotJson, status,
              body.empty() ? "the reply is empty" : "the reply is not JSON"});
        return;
    }
    if (success) {
        success(*json);
    }
}
