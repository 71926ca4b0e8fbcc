#pragma once
// Which Chinese script the user reads first, by the first preferred language.
class LangSetting {
public:
    LangSetting() = delete;

    // Exact, case-sensitive: "zh-Hans-CN" or "zh-CN" is neither.
    static bool isInitLanguageHans();
    static bool isInitLanguageHant();
};
