#pragma once
// One tone as the catalogue lists it. Each list holds its own records.
#include "platform/foundation/Json.h"
#include "platform/foundation/NSDate.h"

#include <cstdint>
#include <memory>
#include <string>

class FMInfo {
public:
    static std::shared_ptr<FMInfo> init() { return std::make_shared<FMInfo>(); }
    // A record from one item of a page reply; absent when the item is not an object.
    static std::shared_ptr<FMInfo> infoWithItem(const Json& item);

    int32_t mID() const { return mID_; }
    void setMID(int32_t v) { mID_ = v; }
    const std::string& mName() const { return mName_; }
    void setMName(std::string v) { mName_ = std::move(v); }
    const std::string& mIconURLStr() const { return mIconURLStr_; }
    void setMIconURLStr(std::string v) { mIconURLStr_ = std::move(v); }
    double mDuration() const { return mDuration_; }
    void setMDuration(double v) { mDuration_ = v; }
    double mSize() const { return mSize_; }
    void setMSize(double v) { mSize_ = v; }
    int32_t mNumberDownloads() const { return mNumberDownloads_; }
    void setMNumberDownloads(int32_t v) { mNumberDownloads_ = v; }
    NSDate mDate() const { return mDate_; }
    void setMDate(NSDate v) { mDate_ = v; }
    const std::string& mDownloadURLStr() const { return mDownloadURLStr_; }
    void setMDownloadURLStr(std::string v) { mDownloadURLStr_ = std::move(v); }
    bool mISDownloading() const { return mISDownloading_; }
    void setMISDownloading(bool v) { mISDownloading_ = v; }

    // Reply readers. A missing key, null, or a value of another type reads as missing:
    // 0, empty, false. Numbers may come as JSON numbers or as strings holding one.
    static int32_t readInt32(const Json& object, const char* key);
    static double readDouble(const Json& object, const char* key);
    static std::string readString(const Json& object, const char* key);
    // True for true, or a non-zero number.
    static bool readFlag(const Json& object, const char* key);

private:
    int32_t mID_ = 0;
    std::string mName_;
    std::string mIconURLStr_;
    double mDuration_ = 0;
    double mSize_ = 0;
    int32_t mNumberDownloads_ = 0;
    NSDate mDate_;
    std::string mDownloadURLStr_;
    bool mISDownloading_ = false;
};
