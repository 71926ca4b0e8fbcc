#pragma once
// Where the catalogue service answers.
#include <string>

namespace ServiceConfig {

// The service base URL, ending in "/": the one this build was configured with, unless the
// device was started with another (published as CHIMORA_BASE_URL).
std::string baseURL();

} // namespace ServiceConfig
