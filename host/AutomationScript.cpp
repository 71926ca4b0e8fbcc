#include "host/AutomationScript.h"

#include <charconv>
#include <cmath>
#include <map>
#include <vector>

namespace host {
namespace {

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) {
            ++i;
        }
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            ++i;
        }
        if (i > start) {
            out.push_back(line.substr(start, i - start));
        }
    }
    return out;
}

std::optional<double> number(std::string_view w) {
    double v = 0;
    auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (ec != std::errc() || end != w.data() + w.size() || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

using Kind = ScriptCommand::Kind;

struct Shape {
    Kind kind;
    size_t minArgs;
    size_t maxArgs;
};

const std::map<std::string_view, Shape>& shapes() {
    static const std::map<std::string_view, Shape> table = {
        {"tap", {Kind::Tap, 2, 2}},           {"press", {Kind::Press, 2, 2}},
        {"release", {Kind::Release, 2, 2}},   {"drag", {Kind::Drag, 4, 5}},
        {"wait", {Kind::Wait, 1, 1}},         {"idle", {Kind::Idle, 0, 1}},
        {"activate", {Kind::Activate, 0, 0}}, {"deactivate", {Kind::Deactivate, 0, 0}},
        {"shot", {Kind::Shot, 1, 1}},         {"dump", {Kind::Dump, 1, 1}},
        {"quit", {Kind::Quit, 0, 0}},
    };
    return table;
}

ScriptLineResult fail(std::string message) {
    return {std::nullopt, std::move(message)};
}

} // namespace

ScriptLineResult parseScriptLine(std::string_view line) {
    if (auto hash = line.find('#'); hash != std::string_view::npos) {
        line = line.substr(0, hash);
    }
    auto w = words(line);
    if (w.empty()) {
        return {ScriptCommand{}, {}};
    }
    auto it = shapes().find(w[0]);
    if (it == shapes().end()) {
        return fail("unknown command \"" + std::string(w[0]) + "\"");
    }
    const Shape& shape = it->second;
    const size_t args = w.size() - 1;
    if (args < shape.minArgs || args > shape.maxArgs) {
        return fail("\"" + std::string(w[0]) + "\" takes " +
                    (shape.minArgs == shape.maxArgs
                         ? std::to_string(shape.minArgs)
                         : std::to_string(shape.minArgs) + " to " + std::to_string(shape.maxArgs)) +
                    " argument(s), got " + std::to_string(args));
    }
    ScriptCommand cmd;
    cmd.kind = shape.kind;
    if (cmd.kind == Kind::Shot || cmd.kind == Kind::Dump) {
        cmd.path = std::string(w[1]);
        if (cmd.kind == Kind::Shot && cmd.path == "-") {
            return fail("shot needs a file");
        }
        return {cmd, {}};
    }
    std::vector<double> values;
    for (size_t i = 1; i < w.size(); ++i) {
        auto v = number(w[i]);
        if (!v) {
            return fail("\"" + std::string(w[i]) + "\" is not a number");
        }
        values.push_back(*v);
    }
    switch (cmd.kind) {
    case Kind::Tap:
    case Kind::Press:
    case Kind::Release:
        cmd.x1 = values[0];
        cmd.y1 = values[1];
        break;
    case Kind::Drag:
        cmd.x1 = values[0];
        cmd.y1 = values[1];
        cmd.x2 = values[2];
        cmd.y2 = values[3];
        cmd.ms = values.size() > 4 ? values[4] : kDefaultDragMs;
        break;
    case Kind::Wait:
        cmd.ms = values[0];
        break;
    case Kind::Idle:
        cmd.ms = values.empty() ? kDefaultIdleMs : values[0];
        break;
    default:
        break;
    }
    if (cmd.ms < 0) {
        return fail("a time cannot be negative");
    }
    return {cmd, {}};
}

} // namespace host
