// Replay script parsing. Any bytes give either a script or an error naming the
// file and line.
#include "replay/replay_script.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/game.h"
#include "input/actions.h"
#include "input/input.h"
#include "platform/platform.h"
#include "replay/world_state.h"
#include "session/printable.h"
#include "session/text_lines.h"

namespace {

// The actions a script can press, in the order of their bits (REPLAY_UP
// first), which the script and demo format fixes; the names, the held bits
// and the presses come from the action table.
constexpr InputAction SCRIPT_KEY_ACTIONS[REPLAY_KEY_COUNT] = {ACTION_UP, ACTION_DOWN, ACTION_LEFT, ACTION_RIGHT,
                                                              ACTION_FIRE, ACTION_B, ACTION_C, ACTION_D,
                                                              ACTION_QUIT, ACTION_PAUSE};

constexpr ReplayKeyName script_key(int k) {
    const InputActionRow& a = INPUT_ACTIONS[SCRIPT_KEY_ACTIONS[k]];
    return {a.script_key, 1u << k, a.held};
}

}  // namespace

constexpr ReplayKeyName REPLAY_KEY_NAMES[REPLAY_KEY_COUNT] = {script_key(0), script_key(1), script_key(2),
                                                              script_key(3), script_key(4), script_key(5),
                                                              script_key(6), script_key(7), script_key(8),
                                                              script_key(9)};
static_assert(REPLAY_KEY_NAMES[8].bit == REPLAY_ESCAPE && REPLAY_KEY_NAMES[9].bit == REPLAY_PAUSE);

namespace {

std::string key_list() {
    std::string out;
    for (const ReplayKeyName& k : REPLAY_KEY_NAMES) out += std::string(k.name) + " ";
    return out + REPLAY_CLOSE_NAME + ", or " + REPLAY_NO_KEYS;
}

bool parse_line(const std::string& raw, ReplayLine& line, std::string& why) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < raw.size()) {
        while (i < raw.size() && text_is_space(raw[i])) ++i;
        size_t start = i;
        while (i < raw.size() && !text_is_space(raw[i])) ++i;
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
            why = "pass count '" + printable_excerpt(count) + "' is not a positive whole number";
            return false;
        }
        passes = passes * 10 + uint64_t(c - '0');
        if (passes > REPLAY_MAX_PASSES_PER_LINE) {
            why = "pass count '" + printable_excerpt(count) + "' is above 1000000000";
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
    if (keys == REPLAY_NO_KEYS) return true;
    size_t start = 0;
    while (start <= keys.size()) {
        size_t end = keys.find('+', start);
        if (end == std::string::npos) end = keys.size();
        std::string name = keys.substr(start, end - start);
        bool found = false;
        if (name == REPLAY_CLOSE_NAME) {
            line.close = true;
            found = true;
        }
        for (const ReplayKeyName& k : REPLAY_KEY_NAMES) {
            if (name == k.name) {
                line.keys |= k.bit;
                found = true;
            }
        }
        if (!found) {
            why = "unknown key '" + printable_excerpt(name) + "' (keys: " + key_list() + ")";
            return false;
        }
        start = end + 1;
    }
    return true;
}

// A whole number of at most 19 digits (base 10) or 16 (base 16), and nothing
// else; false otherwise.
bool read_number(const std::string& s, int base, uint64_t& value) {
    if (s.empty() || s.size() > (base == 10 ? 19u : 16u)) return false;
    value = 0;
    for (char c : s) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        value = value * uint64_t(base) + uint64_t(digit);
    }
    return true;
}

bool starts_with(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// The version a demo's "# rules" or "# hash" line gives: a positive number.
bool read_header_version(const std::string& raw, const char* prefix, int& version, std::string& why) {
    std::string word = raw.substr(std::strlen(prefix));
    while (!word.empty() && text_is_space(word.back())) word.pop_back();
    uint64_t value = 0;
    if (!read_number(word, 10, value) || value == 0 || value > 1'000'000) {
        why = "expected '" + std::string(prefix) + "<version>', got '" + printable_excerpt(raw) + "'";
        return false;
    }
    version = int(value);
    return true;
}

// A demo played under other rules than this program's, or hashed by a
// version it does not know, would go out of sync: it is refused, naming the
// program that recorded it.
bool check_header_versions(const ReplayScript& out, std::string& why) {
    const std::string by = out.game_version.empty() ? "" : " by zuba-trilo " + out.game_version;
    if (out.rules_version != GAME_RULES_VERSION) {
        why = "a demo recorded" + by + " under the game's rules " + std::to_string(out.rules_version) +
              "; this program plays rules " + std::to_string(GAME_RULES_VERSION) +
              " only, where it would not play the same game";
        return false;
    }
    if (!world_hash_known(out.hash_version)) {
        why = "a demo recorded" + by + " with sync hash version " + std::to_string(out.hash_version) +
              ", which this program does not know";
        return false;
    }
    return true;
}

// A comment that is, or was meant to be, a sync line: '#', then "sync" as
// its first word, whatever the spaces around them.
bool is_sync_comment(const std::string& raw) {
    size_t i = 0;
    while (i < raw.size() && text_is_space(raw[i])) ++i;
    if (i == raw.size() || raw[i] != '#') return false;
    ++i;
    while (i < raw.size() && text_is_space(raw[i])) ++i;
    return raw.compare(i, 4, "sync") == 0 && (i + 4 == raw.size() || text_is_space(raw[i + 4]));
}

// The line of the first sync line in the text, 0 when it has none.
int first_sync_line(const char* text, size_t length) {
    int line_number = 0;
    for (size_t pos = 0; pos < length;) {
        size_t end = pos;
        while (end < length && text[end] != '\n') ++end;
        ++line_number;
        if (is_sync_comment(std::string(text + pos, end - pos))) return line_number;
        pos = end + 1;
    }
    return 0;
}

// A demo's "# game", "# rules", "# hash" and "# sync" lines; other comments pass. The sync line's
// pass must have been played by the lines above it, after the last sync's.
bool parse_demo_comment(const std::string& raw, ReplayScript& out, std::string& why) {
    if (starts_with(raw, REPLAY_GAME_PREFIX) && out.game_version.empty()) {
        out.game_version = printable_excerpt(raw.substr(std::strlen(REPLAY_GAME_PREFIX)));
        return true;
    }
    if (starts_with(raw, REPLAY_RULES_PREFIX))
        return read_header_version(raw, REPLAY_RULES_PREFIX, out.rules_version, why) &&
               check_header_versions(out, why);
    if (starts_with(raw, REPLAY_HASH_PREFIX))
        return read_header_version(raw, REPLAY_HASH_PREFIX, out.hash_version, why) &&
               check_header_versions(out, why);
    if (!is_sync_comment(raw)) return true;
    const std::string rest = starts_with(raw, REPLAY_SYNC_PREFIX) ? raw.substr(std::strlen(REPLAY_SYNC_PREFIX)) : "";
    const size_t space = rest.find(' ');
    ReplaySync sync{};
    if (rest.empty() || space == std::string::npos || !read_number(rest.substr(0, space), 10, sync.pass) ||
        !read_number(rest.substr(space + 1), 16, sync.hash)) {
        why = "expected '# sync <pass> <hash>', got '" + printable_excerpt(raw) + "'";
        return false;
    }
    if (sync.pass >= out.total_passes) {
        why = "sync line for pass " + std::to_string(sync.pass) + ", but the lines above it play " +
              std::to_string(out.total_passes) + " passes";
        return false;
    }
    if (!out.syncs.empty() && sync.pass <= out.syncs.back().pass) {
        why = "sync line for pass " + std::to_string(sync.pass) + " after one for pass " +
              std::to_string(out.syncs.back().pass);
        return false;
    }
    out.syncs.push_back(sync);
    return true;
}

// A first line that names the game and a demo was meant as a demo's.
constexpr const char GAME_NAME[] = "zuba-trilo";

// The first line of a demo names its format's version; a plain script has
// none. False on a version that is not a number or is newer than ours.
bool parse_version_line(const std::string& raw, ReplayScript& out, std::string& why, bool& newer) {
    if (!starts_with(raw, REPLAY_DEMO_PREFIX)) return true;
    std::string word = raw.substr(std::strlen(REPLAY_DEMO_PREFIX));
    while (!word.empty() && text_is_space(word.back())) word.pop_back();
    uint64_t version = 0;
    if (!read_number(word, 10, version) || version == 0) {
        why = "demo version '" + printable_excerpt(word) + "' is not a positive whole number";
        return false;
    }
    if (version > uint64_t(REPLAY_DEMO_VERSION)) {
        why = "a demo of version " + word + ", newer than this program plays (" +
              std::to_string(REPLAY_DEMO_VERSION) + " and older)";
        newer = true;
        return false;
    }
    out.demo_version = int(version);
    return true;
}

}  // namespace

uint32_t replay_keys_to_game_bits(uint32_t keys) {
    uint32_t bits = 0;
    for (const ReplayKeyName& k : REPLAY_KEY_NAMES)
        if (keys & k.bit) bits |= k.game_bits;
    return bits;
}

uint32_t replay_keys_to_presses(uint32_t keys) {
    uint32_t presses = 0;
    for (int k = 0; k < REPLAY_KEY_COUNT; ++k)
        if (keys & (1u << k)) presses |= INPUT_ACTIONS[SCRIPT_KEY_ACTIONS[k]].press;
    return presses;
}

uint32_t replay_keys_from_game_bits(uint32_t bits) {
    uint32_t keys = 0;
    for (const ReplayKeyName& k : REPLAY_KEY_NAMES)
        if (k.game_bits && (bits & k.game_bits) == k.game_bits) keys |= k.bit;
    return keys;
}

std::string replay_keys_text(uint32_t keys, bool close) {
    std::string out;
    for (const ReplayKeyName& k : REPLAY_KEY_NAMES) {
        if (!(keys & k.bit)) continue;
        if (!out.empty()) out += '+';
        out += k.name;
    }
    if (close) out += out.empty() ? REPLAY_CLOSE_NAME : std::string("+") + REPLAY_CLOSE_NAME;
    return out.empty() ? REPLAY_NO_KEYS : out;
}

bool replay_parse_script(const char* text, size_t length, const std::string& name,
                         ReplayScript& out, std::string& error, bool* newer) {
    out = ReplayScript{};
    // A text editor may have put a byte order mark first.
    size_t pos = text_start(text, length);
    // Sync lines make a file a demo, held to its first line: a damaged one
    // must not turn it into a plain script whose sync lines nobody checks.
    const int sync_line = first_sync_line(text + pos, length - pos);
    int line_number = 0;
    while (pos < length) {
        size_t end = pos;
        while (end < length && text[end] != '\n') ++end;
        std::string raw(text + pos, end - pos);
        pos = end + 1;
        ++line_number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string why;
        if (line_number == 1) {
            bool is_newer = false;
            if (!parse_version_line(raw, out, why, is_newer)) {
                if (newer) *newer = is_newer;
                error = name + ":1: " + why;
                return false;
            }
            const bool says_demo = raw.find(GAME_NAME) != std::string::npos && raw.find(" demo") != std::string::npos;
            if (out.demo_version == 0 && (sync_line > 0 || says_demo)) {
                error = name + ":1: a demo must begin with '" + REPLAY_DEMO_PREFIX + "<version>'" +
                        (sync_line > 0 ? " (its sync lines, from line " + std::to_string(sync_line) + ", make it one)"
                                       : std::string()) +
                        ", not '" + printable_excerpt(raw) + "'";
                return false;
            }
        }
        // A demo is written line by line; one that stops without its last
        // newline was cut off in the middle of that line.
        if (out.demo_version > 0 && end == length) {
            out.cut_off_line = line_number;
            break;
        }
        size_t first = 0;
        while (first < raw.size() && text_is_space(raw[first])) ++first;
        if (first < raw.size() && raw[first] == '#' && out.demo_version > 0 && raw.find('\0') == std::string::npos) {
            if (parse_demo_comment(raw, out, why)) continue;
            error = name + ":" + std::to_string(line_number) + ": " + why;
            return false;
        }
        if (first == raw.size() || raw[first] == '#') continue;
        ReplayLine line{};
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
    // A demo that names no rules was played under rules 1.
    std::string why;
    if (out.demo_version > 0 && !check_header_versions(out, why)) {
        error = name + ":1: " + why;
        return false;
    }
    return true;
}

bool replay_load_script(const std::string& path, ReplayScript& out, std::string& error, bool* newer) {
    out = ReplayScript{};
    std::string text;
    int why = 0;
    switch (platform_read_file(path, REPLAY_MAX_SCRIPT_BYTES, text, why)) {
        case PLATFORM_READ_OK: break;
        case PLATFORM_READ_MISSING: error = path + ": cannot read it: no such file"; return false;
        case PLATFORM_READ_NOT_REGULAR:
            error = path + (platform_file_info(path).kind == PLATFORM_FILE_FOLDER
                                ? ": is a folder, not a demo or script"
                                : ": is not a regular file (a FIFO, a device), not a demo or script");
            return false;
        case PLATFORM_READ_TOO_LARGE:
            error = path + ": larger than " + std::to_string(REPLAY_MAX_SCRIPT_BYTES >> 20) +
                    " MiB, more than any demo or script holds; not read";
            return false;
        case PLATFORM_READ_FAILED: error = path + ": cannot read it: " + std::strerror(why); return false;
    }
    if (text.empty()) {
        error = path + ": the file is empty, not a demo or script";
        return false;
    }
    return replay_parse_script(text.data(), text.size(), path, out, error, newer);
}
