#pragma once
// The app's settings, kept as a property list at
// /var/mobile/Library/Preferences/<bundle identifier>.plist.
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class NSUserDefaults {
public:
    static std::shared_ptr<NSUserDefaults> standardUserDefaults();
    // Forgets the shared instance; the next standardUserDefaults() reads the file afresh.
    static void resetStandardUserDefaultsForTesting();

    // Reads `devicePath` on first use. A file that cannot be read as a dictionary is moved
    // aside to "<path>.corrupt" and the defaults start empty.
    explicit NSUserDefaults(std::string devicePath);
    ~NSUserDefaults();
    NSUserDefaults(const NSUserDefaults&) = delete;
    NSUserDefaults& operator=(const NSUserDefaults&) = delete;

    // Absent → false. Numbers are true when not zero, strings when they start with Y, y,
    // T, t or a non-zero number.
    bool boolForKey(const std::string& key) const;
    // Absent or not a string/number → absent.
    std::optional<std::string> stringForKey(const std::string& key) const;
    bool hasObjectForKey(const std::string& key) const;

    // Differs from the device: each change is written to storage at once (synchronize),
    // rather than at some later moment.
    void setBool(bool value, const std::string& key);
    void setObject(const std::string& value, const std::string& key);
    void setString(const std::string& value, const std::string& key) { setObject(value, key); }
    void removeObjectForKey(const std::string& key);

    // Writes the whole set atomically (a temporary file beside it, renamed into place).
    bool synchronize();

    const std::string& devicePath() const { return devicePath_; }

private:
    void loadLocked() const;
    bool synchronizeLocked();

    std::string devicePath_;
    mutable std::mutex mutex_;
    mutable bool loaded_ = false;
    // The property list dictionary (libplist's plist_t), kept opaque here.
    mutable void* dict_ = nullptr;
};
