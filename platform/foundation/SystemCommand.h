#pragma once
// The C library's `system`: runs a shell command line and answers its exit status.
#include <string>

// Differs from the device: the command goes to the host, which records it and runs nothing
// on the machine (a respring here would be a "killall SpringBoard" on the phone).
int runSystemCommand(const std::string& command);
