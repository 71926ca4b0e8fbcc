#pragma once
// The file manager over device paths. Every operation answers failure (false / absent)
// instead of raising: a missing item, a refused path, a full disk are all just "no".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSFileManager {
public:
    static std::shared_ptr<NSFileManager> defaultManager();

    // Follows symbolic links: a link to nothing does not exist.
    bool fileExistsAtPath(const std::string& path) const;
    bool fileExistsAtPath(const std::string& path, bool* isDirectory) const;

    // Names of the entries one level down. Absent when the path is no readable directory.
    // Differs from the device: sorted by name (byte order), so runs are reproducible.
    std::optional<std::vector<std::string>>
    contentsOfDirectoryAtPath(const std::string& path) const;

    // Without intermediates the parent must exist and the directory must not.
    bool createDirectoryAtPath(const std::string& path, bool withIntermediateDirectories) const;
    // Replaces an existing file; written to a temporary file beside it and renamed into place,
    // so readers see the old or the new contents, never a part.
    bool createFileAtPath(const std::string& path, const std::string& contents) const;
    std::optional<std::string> contentsAtPath(const std::string& path) const;

    // Both fail when something already exists at the destination.
    bool copyItemAtPath(const std::string& source, const std::string& destination) const;
    bool moveItemAtPath(const std::string& source, const std::string& destination) const;
    // Puts the item at `source` in the place of `destination` in one rename: readers see the
    // old item or the new one, never neither. Both must lie in the same folder's file system;
    // a folder is not replaced by a file. Differs from the device: no backup name, no options.
    bool replaceItemAtPath(const std::string& destination, const std::string& withItemAtPath) const;
    // Removes a file, link or whole directory tree. False when nothing is there.
    bool removeItemAtPath(const std::string& path) const;

    // Size in bytes of a regular file.
    std::optional<uint64_t> fileSizeAtPath(const std::string& path) const;
};
