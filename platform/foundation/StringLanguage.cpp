#include "platform/foundation/StringLanguage.h"

// The guesser's header uses FILE without including its declaration.
#include <cstdio>

#include <cld2/public/compact_lang_det.h>

#include <climits>
#include <cstring>

std::optional<std::string> bestStringLanguage(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > size_t(INT_MAX)) {
        return std::nullopt;
    }
    bool reliable = false;
    int validPrefix = 0;
    const CLD2::Language language =
        CLD2::DetectLanguageCheckUTF8(utf8.data(), int(utf8.size()), true, &reliable, &validPrefix);
    // Short or ambiguous texts come back as an unreliable "en": that is no guess at all.
    if (!reliable || language == CLD2::UNKNOWN_LANGUAGE) {
        return std::nullopt;
    }
    // The guesser calls Simplified Chinese plain "zh"; the platform tags it by script.
    if (language == CLD2::CHINESE) {
        return std::string("zh-Hans");
    }
    const char* code = CLD2::LanguageCode(language);
    if (code == nullptr || std::strlen(code) == 0) {
        return std::nullopt;
    }
    return std::string(code);
}
