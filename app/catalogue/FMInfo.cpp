#include "app/catalogue/FMInfo.h"

#include <cmath>
#include <limits>

namespace {

// Booleans, objects and arrays are no numbers here, even where the platform would coerce.
std::optional<double> numberAt(const Json& object, const char* key) {
    const Json* value = object.get(key);
    if (!value || !(value->isNumber() || value->isString())) {
        return std::nullopt;
    }
    auto number = value->asNumber();
    if (!number || !std::isfinite(*number)) {
        return std::nullopt;
    }
    return number;
}

} // namespace

int32_t FMInfo::readInt32(const Json& object, const char* key) {
    auto number = numberAt(object, key);
    if (!number) {
        return 0;
    }
    // Out-of-range values saturate rather than wrap into another tone's identifier.
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::trunc(std::fmin(std::fmax(*number, lo), hi)));
}

double FMInfo::readDouble(const Json& object, const char* key) {
    return numberAt(object, key).value_or(0);
}

std::string FMInfo::readString(const Json& object, const char* key) {
    const Json* value = object.get(key);
    return value ? value->asString().value_or(std::string()) : std::string();
}

bool FMInfo::readFlag(const Json& object, const char* key) {
    const Json* value = object.get(key);
    if (value && value->isBool()) {
        return *value->asBool();
    }
    return readDouble(object, key) != 0;
}

std::shared_ptr<FMInfo> FMInfo::infoWithItem(const Json& item) {
    if (!item.isObject()) {
        return nullptr;
    }
    auto info = init();
    info->setMID(readInt32(item, "id"));
    info->setMName(readString(item, "name"));
    info->setMIconURLStr(readString(item, "iconURL"));
    info->setMDuration(readInt32(item, "duration"));
    info->setMSize(readDouble(item, "size"));
    info->setMNumberDownloads(readInt32(item, "numberDownloads"));
    info->setMDownloadURLStr(readString(item, "downloadURL"));
    info->setMDate(NSDate::dateWithTimeIntervalSince1970(readInt32(item, "time")));
    return info;
}
