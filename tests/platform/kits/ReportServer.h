#pragma once
// A usage-report service on 127.0.0.1 whose replies a test shapes: the online configuration
// (status, body, held until released) and the update check (body; the asked versions are
// kept).
#include <memory>
#include <string>
#include <vector>

class ReportServer {
public:
    ReportServer();
    ~ReportServer();
    ReportServer(const ReportServer&) = delete;
    ReportServer& operator=(const ReportServer&) = delete;

    bool start();
    void stop();
    // "http://127.0.0.1:PORT/report/"
    std::string reportURL() const;

    void setConfigReply(int status, std::string body);
    void setUpdateReply(std::string body);
    // While held, configuration requests wait (at most 20 s) until release().
    void hold();
    void release();

    int configRequests() const;
    std::vector<std::string> updateVersions() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
