#pragma once
// The automation script language: one command a line, `#` starts a comment, points in
// screen points, times in milliseconds.
#include <optional>
#include <string>
#include <string_view>

namespace host {

struct ScriptCommand {
    enum class Kind {
        None, // blank line or comment
        Tap,
        Press,
        Release,
        Drag,
        Wait,
        Idle,
        Activate,
        Deactivate,
        Shot,
        Dump,
        Quit,
    };
    Kind kind = Kind::None;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double ms = 0;
    std::string path; // shot and dump; "-" is standard output for dump
};

inline constexpr double kDefaultDragMs = 300;
inline constexpr double kDefaultIdleMs = 10000;

struct ScriptLineResult {
    std::optional<ScriptCommand> command; // absent when the line cannot be read
    std::string error;
};

ScriptLineResult parseScriptLine(std::string_view line);

} // namespace host
