#include "host/device/DeviceRoot.h"

#include <algorithm>
#include <iterator>

namespace fs = std::filesystem;

namespace host {

namespace {

// Splits an absolute device path into its components with "." and ".." applied. Absent when
// the path is not absolute or ".." would climb above "/".
std::optional<std::vector<std::string>> normalComponents(std::string_view path) {
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        std::string_view part = path.substr(pos, end - pos);
        if (part == "..") {
            if (parts.empty()) {
                return std::nullopt;
            }
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        pos = end + 1;
    }
    return parts;
}

fs::path resolvedBase(const fs::path& base) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(base, ec);
    return ec ? base.lexically_normal() : canonical;
}

bool isWithin(const fs::path& path, const fs::path& base) {
    auto [baseEnd, pathIt] = std::mismatch(base.begin(), base.end(), path.begin(), path.end());
    if (baseEnd == base.end()) {
        return true;
    }
    // A trailing separator of the base shows up as an empty last element.
    return std::next(baseEnd) == base.end() && baseEnd->empty();
}

// Follows `rest` below `base` on the disk the way the kernel would, and answers whether the
// place reached is still inside `base`. A link that dangles or loops is refused: writing
// through it could land anywhere.
bool staysInside(const fs::path& base, const std::vector<std::string>& rest, size_t from) {
    const fs::path limit = resolvedBase(base);
    fs::path current = limit;
    for (size_t i = from; i < rest.size(); ++i) {
        fs::path next = current / rest[i];
        std::error_code ec;
        fs::file_status status = fs::symlink_status(next, ec);
        if (ec || !fs::exists(status)) {
            // Nothing below a missing entry can exist, so no link can redirect the rest.
            return isWithin(next.lexically_normal(), limit);
        }
        if (fs::is_symlink(status)) {
            fs::path target = fs::canonical(next, ec);
            if (ec) {
                return false;
            }
            next = target;
        }
        if (!isWithin(next, limit)) {
            return false;
        }
        current = next;
    }
    return isWithin(current, limit);
}

} // namespace

DeviceRoot::DeviceRoot(fs::path root, fs::path appBundle, platform::DeviceSettings settings,
                       std::optional<double> startTime)
    : root_(std::move(root)), appBundle_(std::move(appBundle)), settings_(std::move(settings)) {
    if (startTime) {
        setClock(*startTime);
    }
}

std::optional<fs::path> DeviceRoot::hostPath(std::string_view devicePath) const {
    auto parts = normalComponents(devicePath);
    if (!parts) {
        return std::nullopt;
    }
    const bool inBundle =
        parts->size() >= 2 && (*parts)[0] == "Applications" && (*parts)[1] == "Chimora.app";
    const fs::path& base = inBundle ? appBundle_ : root_;
    const size_t from = inBundle ? 2 : 0;
    if (!staysInside(base, *parts, from)) {
        return std::nullopt;
    }
    fs::path result = base;
    for (size_t i = from; i < parts->size(); ++i) {
        result /= (*parts)[i];
    }
    return result;
}

void DeviceRoot::setClock(double startTime) {
    std::lock_guard lock(mutex_);
    clockStart_ = startTime;
    clockStartedAt_ = std::chrono::steady_clock::now();
    realClock_ = false;
}

double DeviceRoot::now() const {
    std::lock_guard lock(mutex_);
    if (realClock_) {
        return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
    return clockStart_ +
           std::chrono::duration<double>(std::chrono::steady_clock::now() - clockStartedAt_)
               .count();
}

int DeviceRoot::runCommand(const std::string& command) {
    std::lock_guard lock(mutex_);
    commands_.push_back(command);
    return 0;
}

void DeviceRoot::openURL(const std::string& url) {
    std::lock_guard lock(mutex_);
    urls_.push_back(url);
}

void DeviceRoot::recordLog(const std::string& line) {
    std::lock_guard lock(mutex_);
    log_.push_back(line);
}

void DeviceRoot::recordSound(platform::SoundKind kind, const std::string& source) {
    std::lock_guard lock(mutex_);
    sounds_.push_back({kind, source});
}

void DeviceRoot::recordPost(const std::string& platformId, const std::string& text,
                            const std::string& imageName) {
    std::lock_guard lock(mutex_);
    posts_.push_back({platformId, text, imageName});
}

std::vector<std::string> DeviceRoot::commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

std::vector<std::string> DeviceRoot::urls() const {
    std::lock_guard lock(mutex_);
    return urls_;
}

std::vector<std::string> DeviceRoot::logLines() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<SoundRecord> DeviceRoot::sounds() const {
    std::lock_guard lock(mutex_);
    return sounds_;
}

std::vector<PostRecord> DeviceRoot::posts() const {
    std::lock_guard lock(mutex_);
    return posts_;
}

void DeviceRoot::clearRecords() {
    std::lock_guard lock(mutex_);
    commands_.clear();
    urls_.clear();
    log_.clear();
    sounds_.clear();
    posts_.clear();
}

} // namespace host
