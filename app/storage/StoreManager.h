#pragma once
// Where tone files live: the tones directory (downloaded tones), the pretones directory
// (tones a preview fetched ahead) and the tones cache directory (downloads in progress).
// Stateless: every operation looks at the file system afresh and answers failure as NO,
// an empty list or an absent result.
#include <optional>
#include <string>
#include <vector>

class StoreManager {
public:
    // Creates the three directories when missing; registered as the class-level load.
    static void load();

    static std::string getPathForDocumentsTonesDir();
    static std::string getPathForDocumentsPretonesDir();
    static std::string getPathForTonesCacheDir();

    // The name with ".caf" appended unless it already ends so; absent for a name that can
    // not be a file name (see isSafeFileName).
    static std::optional<std::string> fullToneFileName(const std::string& name);

    static std::vector<std::string> getDownloadedFileNames();
    static int getDownloadedFileCount();
    static bool removeFile(const std::string& name);
    static std::optional<std::vector<std::string>> getPretonedFileNames();
    static bool clearCache();
    static bool storePretones(const std::optional<std::string>& data, const std::string& fileName);
    static bool movePretoneToTones(const std::string& fileName);

    // Whether a catalogue name may become one entry of a directory: not empty, no "/" or
    // NUL, not "." or "..". Names come from a remote service and are never trusted.
    static bool isSafeFileName(const std::string& name);
};
