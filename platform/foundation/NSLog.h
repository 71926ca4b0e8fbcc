#pragma once
// The system log: one plain line (printf-style format) to standard error, and to the
// device's log record when a host is installed. Safe from any thread.
// Differs from the device: no date or process prefix, and "%@" is not understood (pass
// strings with "%s").
void NSLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
