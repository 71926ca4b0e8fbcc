#pragma once
// Where the user's folders are, and the path-string helpers the platform's strings offer.
#include <string>
#include <vector>

enum NSSearchPathDirectory {
    NSLibraryDirectory = 5,
    NSDocumentDirectory = 9,
    NSCachesDirectory = 13,
};

enum NSSearchPathDomainMask {
    NSUserDomainMask = 1,
};

// The app runs with home /var/mobile. Other domains have nothing for the app: empty.
std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             unsigned domainMask, bool expandTilde);

// "a/" + "b" and "a" + "/b" both give "a/b": exactly one "/" between base and component.
// A trailing "/" of the result is dropped, as the platform does ("tones/" → ".../tones").
std::string stringByAppendingPathComponent(const std::string& base, const std::string& component);
// "/a/b.caf" → "b.caf"; "/a/b/" → "b"; "/" → "/".
std::string lastPathComponent(const std::string& path);
// "/a/b.caf" → "/a"; "/a" → "/"; "a" → "".
std::string stringByDeletingLastPathComponent(const std::string& path);
// "b.caf" → "caf"; "b" → ""; ".hidden" → "".
std::string pathExtension(const std::string& path);
// "/a/b.caf" → "/a/b"; "/a.d/b" → "/a.d/b".
std::string stringByDeletingPathExtension(const std::string& path);
