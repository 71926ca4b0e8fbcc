#pragma once
// The usage-report service as the app sees it: started once with the application's key, it
// serves online configuration parameters by key and checks for a newer version of the app.
//
//   GET <report-url>online_config.json               → {"KEY": "value", …}
//   GET <report-url>check_update.json?version=V      → {"update": true, "version": …, …}
//
// The last good parameter set is kept on the device, so a launch without network still has
// the parameters of an earlier one. Main thread only.
#include "platform/foundation/Json.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class JsonRequest;

class UsageReport : public std::enable_shared_from_this<UsageReport> {
public:
    using UpdateCallback = std::function<void(const Json& result)>;

    // Where the kept parameters live on the device.
    static constexpr const char* kConfigPath = "/var/mobile/Library/UsageReport/online_config.json";
    static constexpr double kTimeoutSeconds = 30;

    // The one service of the run, answering at defaultReportURL().
    static std::shared_ptr<UsageReport> shared();
    // Forgets the shared service; the next shared() starts afresh from the device (tests).
    static void resetSharedForTesting();
    // The address the run was started with (published as CHIMORA_REPORT_URL), else the
    // build's; always ending in "/".
    static std::string defaultReportURL();

    UsageReport(std::string reportURL, std::string configPath = kConfigPath);
    ~UsageReport();
    UsageReport(const UsageReport&) = delete;
    UsageReport& operator=(const UsageReport&) = delete;

    const std::string& reportURL() const { return reportURL_; }
    void setReportURL(std::string url);

    // What the policy means is the service's business; the kit only keeps it.
    void start(std::string appKey, int reportPolicy, std::string channelId);
    bool isStarted() const { return started_; }
    const std::string& appKey() const { return appKey_; }
    int reportPolicy() const { return reportPolicy_; }
    const std::string& channelId() const { return channelId_; }

    // Asks the service for its parameters and returns at once. The reply replaces the whole
    // set and is kept on the device; a failed refresh keeps the set there was. A refresh
    // asked for while one is on its way is the same refresh.
    void refreshOnlineConfig();
    bool isRefreshing() const { return refresh_ != nullptr; }

    // The parameter as last received (or kept), nothing when the service never named it.
    // Never waits for the network.
    std::optional<std::string> configParam(const std::string& key);

    // Asks whether a newer version than the bundle's CFBundleVersion exists. The result
    // dictionary goes to `callback` on the main thread; when the service gives no usable
    // answer the callback is not called (callers keep their own time-out).
    void checkUpdate(UpdateCallback callback);

private:
    void loadKeptConfig();
    void applyConfig(const Json& reply);

    std::string reportURL_;
    std::string configPath_;
    std::string appKey_;
    int reportPolicy_ = 0;
    std::string channelId_;
    bool started_ = false;
    bool loaded_ = false;
    std::map<std::string, std::string> params_;
    std::shared_ptr<JsonRequest> refresh_;
};
