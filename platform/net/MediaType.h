#pragma once
// Reading a Content-Type header.
#include <string>
#include <string_view>

namespace MediaType {
// "Application/JSON; charset=utf-8" → "application/json"; empty when there is none.
std::string essence(std::string_view contentType);
} // namespace MediaType
