#pragma once

#include <string_view>

namespace chimora::service {

// Orders version strings the way the app does: runs of digits compare by their value,
// everything else character by character, so "1.10" is newer than "1.9".
class VersionOrder {
public:
    // Negative when a is older than b, zero when equal, positive when newer.
    static int compare(std::string_view a, std::string_view b);
};

} // namespace chimora::service
