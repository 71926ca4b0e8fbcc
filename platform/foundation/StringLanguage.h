#pragma once
// The best guess of the language a text is written in, as a language tag: "zh-Hans",
// "zh-Hant", "ja", "en", … Absent when the text is empty or too short or mixed to tell.
#include <optional>
#include <string>
#include <string_view>

// The caller chooses how much of the text to look at; invalid UTF-8 gives no guess.
std::optional<std::string> bestStringLanguage(std::string_view utf8);
