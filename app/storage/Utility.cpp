#include "app/storage/Utility.h"

#include "app/catalogue/ServiceConfig.h"
#include "platform/net/FireAndForgetRequest.h"

#include <cstdio>
#include <string>

void Utility::incNumOfDownloads(int32_t fmId) {
    char path[64];
    std::snprintf(path, sizeof path, "api/inc_fm_downloads.php?fmId=%d", static_cast<int>(fmId));
    FireAndForgetRequest::send(ServiceConfig::baseURL() + path);
}
