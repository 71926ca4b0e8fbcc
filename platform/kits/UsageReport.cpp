#include "platform/kits/UsageReport.h"

#include "BuildConfig.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/SearchPaths.h"
#include "platform/kits/UrlQuery.h"
#include "platform/net/JsonRequest.h"

#include <cstdlib>
#include <mutex>

namespace {

std::mutex sharedMutex;
std::shared_ptr<UsageReport> sharedService;

std::map<std::string, std::string> stringMembers(const Json& object) {
    std::map<std::string, std::string> out;
    for (const auto& [key, value] : object.members()) {
        // Parameters are strings; anything else is read as not given.
        if (auto text = value.asString()) {
            out.emplace(key, *text);
        }
    }
    return out;
}

} // namespace

std::shared_ptr<UsageReport> UsageReport::shared() {
    std::lock_guard lock(sharedMutex);
    if (!sharedService) {
        sharedService = std::make_shared<UsageReport>(defaultReportURL());
    }
    return sharedService;
}

void UsageReport::resetSharedForTesting() {
    std::shared_ptr<UsageReport> old;
    {
        std::lock_guard lock(sharedMutex);
        old = std::move(sharedService);
    }
}

std::string UsageReport::defaultReportURL() {
    const char* fromDevice = std::getenv("CHIMORA_REPORT_URL");
    std::string url = fromDevice && *fromDevice ? fromDevice : BuildConfig::kReportURL;
    if (url.empty() || url.back() != '/') {
        url += '/';
    }
    return url;
}

UsageReport::UsageReport(std::string reportURL, std::string configPath)
    : configPath_(std::move(configPath)) {
    setReportURL(std::move(reportURL));
}

UsageReport::~UsageReport() {
    if (refresh_) {
        refresh_->cancel();
    }
}

void UsageReport::setReportURL(std::string url) {
    // Endpoint names are appended as they stand.
    if (url.empty() || url.back() != '/') {
        url += '/';
    }
    reportURL_ = std::move(url);
}

void UsageReport::start(std::string appKey, int reportPolicy, std::string channelId) {
    appKey_ = std::move(appKey);
    reportPolicy_ = reportPolicy;
    channelId_ = std::move(channelId);
    started_ = true;
    loadKeptConfig();
}

void UsageReport::refreshOnlineConfig() {
    if (!started_ || refresh_) {
        return;
    }
    auto request = JsonRequest::requestWithURL(reportURL_ + "online_config.json", kTimeoutSeconds);
    refresh_ = request;
    std::weak_ptr<UsageReport> weak = weak_from_this();
    std::weak_ptr<JsonRequest> sent = request;
    auto finished = [weak, sent]() -> std::shared_ptr<UsageReport> {
        auto self = weak.lock();
        if (!self || self->refresh_ != sent.lock()) {
            return nullptr;
        }
        self->refresh_.reset();
        return self;
    };
    request->start(
        [finished](const Json& reply) {
            if (auto self = finished()) {
                self->applyConfig(reply);
            }
        },
        [finished](const NetError&) { finished(); });
}

std::optional<std::string> UsageReport::configParam(const std::string& key) {
    loadKeptConfig();
    auto it = params_.find(key);
    if (it == params_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void UsageReport::checkUpdate(UpdateCallback callback) {
    if (!started_ || !callback) {
        return;
    }
    std::string version =
        NSBundle::mainBundle()->objectForInfoDictionaryKey("CFBundleVersion").value_or("");
    auto request = JsonRequest::requestWithURL(
        reportURL_ + "check_update.json?version=" + UrlQuery::escapeValue(version),
        kTimeoutSeconds);
    request->start(
        [callback = std::move(callback)](const Json& result) {
            if (result.isObject()) {
                callback(result);
            }
        },
        [](const NetError&) {});
}

void UsageReport::loadKeptConfig() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    auto text = NSFileManager::defaultManager()->contentsAtPath(configPath_);
    if (!text) {
        return;
    }
    if (auto kept = Json::parse(*text); kept && kept->isObject()) {
        params_ = stringMembers(*kept);
    }
}

void UsageReport::applyConfig(const Json& reply) {
    if (!reply.isObject()) {
        return; // not a parameter set: keep the one we have
    }
    loaded_ = true;
    params_ = stringMembers(reply);

    Json::Members members;
    for (const auto& [key, value] : params_) {
        members.emplace_back(key, Json::string(value));
    }
    auto files = NSFileManager::defaultManager();
    files->createDirectoryAtPath(stringByDeletingLastPathComponent(configPath_), true);
    files->createFileAtPath(configPath_, Json::object(std::move(members)).serialize());
}
