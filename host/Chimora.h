#pragma once
// The `chimora` program: sets up the simulated device, runs the platform's loads, launches
// the application and drives its screen (window, headless, or an automation script).
// Answers an exit status for `device init`, `--help` and bad options; once the app has
// launched it ends the process itself when the script ends or the window closes.
//
//   int main(int argc, char** argv) {
//       return runChimora(argc, argv, [] { return std::make_shared<AppDelegate>(); });
//   }
#include "platform/uikit/UIApplicationDelegate.h"

#include <functional>
#include <memory>

int runChimora(int argc, char** argv,
               std::function<std::shared_ptr<UIApplicationDelegate>()> makeDelegate);
