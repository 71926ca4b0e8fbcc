#pragma once
// Class-level helpers shared by the screens.
#include <cstdint>

class Utility {
public:
    // Tells the catalogue service that the tone was downloaded; nobody waits for the reply.
    static void incNumOfDownloads(int32_t fmId);
};
