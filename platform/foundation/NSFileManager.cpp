#include "platform/foundation/NSFileManager.h"

#include "platform/foundation/DeviceHost.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> mapped(const std::string& path) {
    return platform::deviceHost().hostPath(path);
}

bool somethingAt(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool writeAll(int fd, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Copies without replacing anything; a half-made copy is removed unless the destination
// turned out to be someone else's.
bool copyTree(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (!ec) {
        return true;
    }
    if (ec != std::errc::file_exists) {
        std::error_code ignored;
        fs::remove_all(to, ignored);
    }
    return false;
}

} // namespace

std::shared_ptr<NSFileManager> NSFileManager::defaultManager() {
    static const auto manager = std::make_shared<NSFileManager>();
    return manager;
}

bool NSFileManager::fileExistsAtPath(const std::string& path) const {
    return fileExistsAtPath(path, nullptr);
}

bool NSFileManager::fileExistsAtPath(const std::string& path, bool* isDirectory) const {
    auto host = mapped(path);
    if (!host) {
        return false;
    }
    std::error_code ec;
    fs::file_status status = fs::status(*host, ec);
    if (ec || !fs::exists(status)) {
        return false;
    }
    if (isDirectory != nullptr) {
        *isDirectory = fs::is_directory(status);
    }
    return true;
}

std::optional<std::vector<std::string>>
NSFileManager::contentsOfDirectoryAtPath(const std::string& path) const {
    auto host = mapped(path);
    if (!host) {
        return std::nullopt;
    }
    std::error_code ec;
    fs::directory_iterator it(*host, ec);
    if (ec) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            return std::nullopt;
        }
        names.push_back(it->path().filename().string());
    }
    if (ec) {
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool NSFileManager::createDirectoryAtPath(const std::string& path,
                                          bool withIntermediateDirectories) const {
    auto host = mapped(path);
    if (!host) {
        return false;
    }
    std::error_code ec;
    if (withIntermediateDirectories) {
        fs::create_directories(*host, ec);
        return !ec && fs::is_directory(*host, ec);
    }
    // create_directory answers false without an error when the directory exists.
    return fs::create_directory(*host, ec) && !ec;
}

bool NSFileManager::createFileAtPath(const std::string& path, const std::string& contents) const {
    auto host = mapped(path);
    if (!host || host->filename().empty()) {
        return false;
    }
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(*host, ec))) {
        return false;
    }
    std::string temp =
        (host->parent_path() / ("." + host->filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    // mkstemp makes the file private; give it the mode of an ordinary new file.
    ::fchmod(fd, 0644);
    bool ok = writeAll(fd, contents);
    ok = ::close(fd) == 0 && ok;
    if (ok) {
        fs::rename(temp, *host, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
    }
    return ok;
}

std::optional<std::string> NSFileManager::contentsAtPath(const std::string& path) const {
    auto host = mapped(path);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) {
        return std::nullopt;
    }
    std::ifstream in(*host, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return buffer.str();
}

bool NSFileManager::copyItemAtPath(const std::string& source,
                                   const std::string& destination) const {
    auto from = mapped(source);
    auto to = mapped(destination);
    if (!from || !to || !somethingAt(*from) || somethingAt(*to)) {
        return false;
    }
    return copyTree(*from, *to);
}

bool NSFileManager::moveItemAtPath(const std::string& source,
                                   const std::string& destination) const {
    auto from = mapped(source);
    auto to = mapped(destination);
    if (!from || !to || !somethingAt(*from) || somethingAt(*to)) {
        return false;
    }
    // RENAME_NOREPLACE keeps a writer that got there first from being overwritten.
    if (::renameat2(AT_FDCWD, from->c_str(), AT_FDCWD, to->c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EINVAL || errno == ENOSYS) {
        std::error_code ec;
        fs::rename(*from, *to, ec);
        return !ec;
    }
    if (errno != EXDEV || !copyTree(*from, *to)) {
        return false;
    }
    std::error_code ec;
    fs::remove_all(*from, ec);
    return true;
}

bool NSFileManager::replaceItemAtPath(const std::string& destination,
                                      const std::string& withItemAtPath) const {
    auto to = mapped(destination);
    auto from = mapped(withItemAtPath);
    if (!from || !to || !somethingAt(*from)) {
        return false;
    }
    // rename(2) swaps the name over in one step; it refuses a file over a folder.
    return ::rename(from->c_str(), to->c_str()) == 0;
}

bool NSFileManager::removeItemAtPath(const std::string& path) const {
    auto host = mapped(path);
    if (!host || !somethingAt(*host)) {
        return false;
    }
    std::error_code ec;
    fs::remove_all(*host, ec);
    return !ec;
}

std::optional<uint64_t> NSFileManager::fileSizeAtPath(const std::string& path) const {
    auto host = mapped(path);
    if (!host) {
        return std::nullopt;
    }
    std::error_code ec;
    uintmax_t size = fs::file_size(*host, ec);
    if (ec) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(size);
}
