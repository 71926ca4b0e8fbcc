#pragma once
// Query values for the services' addresses.
#include <string>

namespace UrlQuery {

// Every byte except A-Z a-z 0-9 - . _ ~ becomes "%XX", so the value cannot end the
// parameter ("&", "=", "#", "+") or the URL.
std::string escapeValue(const std::string& value);

} // namespace UrlQuery
