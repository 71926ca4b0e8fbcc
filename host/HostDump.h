#pragma once
// The automation dump: the screen, the view trees of the visible windows back to front, and
// what the app asked of the device.
#include "host/device/DeviceRoot.h"
#include "platform/foundation/Json.h"

namespace host {

Json dumpScreen(const DeviceRoot& device);
// Only the "host" part: the device's records.
Json dumpRecords(const DeviceRoot& device);

} // namespace host
