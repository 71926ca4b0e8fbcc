#pragma once
// Class-level helpers shared by the screens.
#include "platform/uikit/UIGeometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class UIView;

class Utility {
public:
    // Tells the catalogue service that the tone was downloaded; nobody waits for the reply.
    static void incNumOfDownloads(int32_t fmId);

    // Installation into the messenger.
    static constexpr const char* kCurrentSelectedToneKey = "current_selected_tone";
    static constexpr const char* kDefaultSelection = "默认.caf";

    // Finds the messenger's bundle; registered as the class-level load. Calling it again
    // scans again (tests lay out a new device each time).
    static void load();
    // The messenger's bundle found at start-up, absent when it is not installed.
    static std::optional<std::string> wechatDirPath();
    // Where the messenger's own in.caf is kept before the first installation replaces it.
    static std::string originalToneBackupPath();

    static bool selectTone(const std::string& name);
    static bool selectToneImpl(const std::string& name,
                               const std::optional<std::string>& srcFilePath);
    static bool resetTone();

    static std::string currentSelectedTone();
    static std::string readableCurrentSelectedTone();
    static std::optional<std::string>
    readableNameForCafFile(const std::optional<std::string>& name);
    static bool sameTones(const std::optional<std::string>& tone1,
                          const std::optional<std::string>& tone2);
    static bool isCurrentSelectedTone(const std::optional<std::string>& name);

    // Tests only: runs between the copy into the messenger and the rename over in.caf; a hook
    // answering false fails the installation there. nullptr removes it.
    using InstallStepHook = bool (*)(const std::string& temporaryPath);
    static void setBeforeReplaceHookForTesting(InstallStepHook hook);

    // Notices.
    static void showNotice(const std::string& text);
    static void showLongNotice(const std::string& text);
    static void showNotice(const std::string& text, int seconds);
    static void showToneSelectedFailureNotice();

    static std::optional<std::string> getAppName();
    static std::shared_ptr<UIView> getSeperatorLine(CGRect frame);
};
