#include "app/core/LangSetting.h"

#include "platform/foundation/NSLocale.h"

#include <string>

namespace {

bool firstLanguageIs(const char* language) {
    auto languages = NSLocale::preferredLanguages();
    return !languages.empty() && languages.front() == language;
}

} // namespace

bool LangSetting::isInitLanguageHans() {
    return firstLanguageIs("zh-Hans");
}

bool LangSetting::isInitLanguageHant() {
    return firstLanguageIs("zh-Hant");
}
