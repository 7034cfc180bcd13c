// Replay script parsing. Any bytes give either a script or an error naming the
// file and line.
#include "replay/replay_script.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

struct KeyName {
    const char* name;
    uint32_t bit;
    int symbol;
};

constexpr KeyName KEY_NAMES[REPLAY_KEY_COUNT] = {
    {"up", REPLAY_UP, SDLK_UP},         {"down", REPLAY_DOWN, SDLK_DOWN},
    {"left", REPLAY_LEFT, SDLK_LEFT},   {"right", REPLAY_RIGHT, SDLK_RIGHT},
    {"fire", REPLAY_FIRE, SDLK_z},      {"b", REPLAY_B, SDLK_x},
    {"c", REPLAY_C, SDLK_c},            {"d", REPLAY_D, SDLK_v},
    {"escape", REPLAY_ESCAPE, SDLK_ESCAPE}, {"pause", REPLAY_PAUSE, SDLK_p},
};

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string printable(const std::string& s) {
    std::string out;
    for (unsigned char c : s.substr(0, 40)) {
        if (c >= 32 && c < 127) {
            out += char(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    return out;
}

bool parse_line(const std::string& raw, ReplayLine& line, std::string& why) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < raw.size()) {
        while (i < raw.size() && is_space(raw[i])) ++i;
        size_t start = i;
        while (i < raw.size() && !is_space(raw[i])) ++i;
        if (i > start) words.push_back(raw.substr(start, i - start));
    }
    if (words.size() != 2) {
        why = "expected '<passes> <keys>', got " + std::to_string(words.size()) + " words";
        return false;
    }
    const std::string& count = words[0];
    uint64_t passes = 0;
    for (char c : count) {
        if (c < '0' || c > '9') {
            why = "pass count '" + printable(count) + "' is not a positive whole number";
            return false;
        }
        passes = passes * 10 + uint64_t(c - '0');
        if (passes > REPLAY_MAX_PASSES_PER_LINE) {
            why = "pass count '" + printable(count) + "' is above 1000000000";
            return false;
        }
    }
    if (passes == 0) {
        why = "pass count must be at least 1";
        return false;
    }
    line.passes = passes;
    line.keys = 0;
    line.close = false;
    const std::string& keys = words[1];
    if (keys == "-") return true;
    size_t start = 0;
    while (start <= keys.size()) {
        size_t end = keys.find('+', start);
        if (end == std::string::npos) end = keys.size();
        std::string name = keys.substr(start, end - start);
        bool found = false;
        if (name == "close") {
            line.close = true;
            found = true;
        }
        for (const KeyName& k : KEY_NAMES) {
            if (name == k.name) {
                line.keys |= k.bit;
                found = true;
            }
        }
        if (!found) {
            why = "unknown key '" + printable(name) +
                  "' (keys: up down left right fire b c d escape pause close, or -)";
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

int replay_key_symbol(int key_index) { return KEY_NAMES[key_index].symbol; }

bool replay_parse_script(const char* text, size_t length, const std::string& name,
                         ReplayScript& out, std::string& error) {
    out.lines.clear();
    out.total_passes = 0;
    size_t pos = 0;
    int line_number = 0;
    while (pos < length) {
        size_t end = pos;
        while (end < length && text[end] != '\n') ++end;
        std::string raw(text + pos, end - pos);
        pos = end + 1;
        ++line_number;
        size_t first = 0;
        while (first < raw.size() && is_space(raw[first])) ++first;
        if (first == raw.size() || raw[first] == '#') continue;
        ReplayLine line{};
        std::string why;
        if (raw.find('\0') != std::string::npos) {
            why = "line holds a NUL byte";
        } else if (parse_line(raw, line, why)) {
            line.source_line = line_number;
            out.lines.push_back(line);
            out.total_passes += line.passes;
            continue;
        }
        error = name + ":" + std::to_string(line_number) + ": " + why;
        return false;
    }
    return true;
}

bool replay_load_script(const std::string& path, ReplayScript& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the script: " + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    return replay_parse_script(s.data(), s.size(), path, out, error);
}
