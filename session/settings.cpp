// The settings file: a lenient reader into a Settings record, and a writer
// that changes only the lines it owns.
#include "session/settings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/mixer.h"
#include "input/actions.h"
#include "platform/platform.h"
#include "session/text_lines.h"
#include "session/printable.h"

namespace {

constexpr size_t MAX_FILE_BYTES = 1 << 20;  // far beyond any hand-written file

std::vector<std::string> split_list(const std::string& value) {
    std::vector<std::string> items;
    size_t start = 0;
    while (true) {
        const size_t comma = value.find(',', start);
        items.push_back(text_trim(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

bool read_yes_no(const std::string& value, bool& out) {
    if (value == "yes") out = true;
    else if (value == "no") out = false;
    else return false;
    return true;
}

bool read_keys(int action, const std::string& value, KeyBinding& out, std::string& why) {
    KeyBinding keys{};
    // An action may be left without keys (the options screen moves a key
    // away from it), but never quit nor the options: the player must always
    // have a way out and a way back in.
    if (value.empty() && action != ACTION_QUIT && action != ACTION_OPTIONS) {
        out = keys;
        return true;
    }
    for (const std::string& name : split_list(value)) {
        if (name.empty()) {
            why = "an empty key name in '" + printable_excerpt(value) + "'";
            return false;
        }
        const int sym = input_key_by_name(name.c_str());
        if (sym < 0) {
            why = "unknown key '" + printable_excerpt(name) + "'";
            return false;
        }
        // F11 and F12 always switch fullscreen and take a screenshot, so
        // bound to anything else they would never do it.
        const int kept = input_kept_key_action(sym);
        if (kept >= 0 && kept != action) {
            why = std::string(input_key_name(sym)) + " is kept for " + INPUT_ACTIONS[kept].setting + " and cannot be bound to " +
                  INPUT_ACTIONS[action].setting;
            return false;
        }
        if (keys.count == BINDING_MAX_KEYS) {
            why = "more than " + std::to_string(BINDING_MAX_KEYS) + " keys";
            return false;
        }
        keys.keys[keys.count++] = sym;
    }
    out = keys;
    return true;
}

bool read_buttons(const std::string& value, uint32_t& out, std::string& why) {
    uint32_t buttons = 0;
    if (!value.empty()) {
        for (const std::string& item : split_list(value)) {
            if (item.size() != 1 || item[0] < '0' || item[0] > '9') {
                why = "not a joystick button from 0 to 9: '" + printable_excerpt(item) + "'";
                return false;
            }
            buttons |= 1u << (item[0] - '0');
        }
    }
    out = buttons;
    return true;
}

// One "name = value" line into out; false with why when it cannot be used.
bool read_line(const std::string& name, const std::string& value, Settings& out, std::string& why) {
    if (name == "fullscreen" || name == "mute") {
        if (read_yes_no(value, name == "fullscreen" ? out.fullscreen : out.mute)) return true;
        why = name + " wants yes or no, not '" + printable_excerpt(value) + "'";
        return false;
    }
    if (name == "scale") {
        if (value == "auto") out.scale_mode = SETTINGS_SCALE_AUTO;
        else if (value == "window") out.scale_mode = SETTINGS_SCALE_WINDOW;
        else if (settings_read_scale(value.c_str(), out.scale)) out.scale_mode = SETTINGS_SCALE_FACTOR;
        else {
            why = "scale wants auto, window or a number from 0.25 to 2.0, not '" + printable_excerpt(value) + "'";
            return false;
        }
        return true;
    }
    if (name == "filter") {
        if (value == "smooth") out.filter = FILTER_SMOOTH;
        else if (value == "sharp") out.filter = FILTER_SHARP;
        else {
            why = "filter wants smooth or sharp, not '" + printable_excerpt(value) + "'";
            return false;
        }
        return true;
    }
    if (name == "vsync") {
        bool on = false;
        if (read_yes_no(value, on)) {
            out.vsync = on ? 1 : 0;
            return true;
        }
        why = "vsync wants yes or no, not '" + printable_excerpt(value) + "'";
        return false;
    }
    if (name == "volume") {
        if (!value.empty() && value.size() <= 2 && value.find_first_not_of("0123456789") == std::string::npos &&
            std::stoi(value) <= AUDIO_VOLUME_MAX) {
            out.volume = std::stoi(value);
            return true;
        }
        why = "volume wants a whole number from 0 to " + std::to_string(AUDIO_VOLUME_MAX) + ", not '" +
              printable_excerpt(value) + "'";
        return false;
    }
    if (name == "window_size") {
        if (settings_read_size(value, out.window_width, out.window_height)) return true;
        why = "window_size wants WIDTHxHEIGHT (each from " + std::to_string(SETTINGS_SIZE_MIN) + " to " +
              std::to_string(SETTINGS_SIZE_MAX) + "), not '" + printable_excerpt(value) + "'";
        return false;
    }
    if (name == "pad.fire") return read_buttons(value, out.bindings.pad_fire, why);
    if (name == "pad.pause") return read_buttons(value, out.bindings.pad_pause, why);
    if (name == "pad.options") return read_buttons(value, out.bindings.pad_options, why);
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (!INPUT_ACTIONS[a].setting || name != INPUT_ACTIONS[a].setting) continue;
        if (read_keys(a, value, out.bindings.actions[a], why)) return true;
        // The player can always quit: a refused list leaves the keys that quit.
        if (a == ACTION_QUIT) why += "; quit stays on " + settings_key_list(out.bindings.actions[a]);
        return false;
    }
    why = "unknown name '" + printable_excerpt(name) + "'";
    return false;
}

// What a key bound to two actions does: both, except that fullscreen takes
// the key from anything but quit (which the player must always have).
std::string conflict_outcome(int a, int b) {
    if (a != ACTION_FULLSCREEN && b != ACTION_FULLSCREEN) return "it does both";
    return a == ACTION_QUIT || b == ACTION_QUIT ? "it quits" : "it only switches fullscreen";
}

void report_conflicts(const InputBindings& bindings, const std::string& name, std::vector<std::string>& messages) {
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (!INPUT_ACTIONS[a].setting) continue;
        const KeyBinding& ka = bindings.actions[a];
        for (int i = 0; i < ka.count; ++i) {
            for (int b = a + 1; b < ACTION_COUNT; ++b) {
                if (!INPUT_ACTIONS[b].setting) continue;
                const KeyBinding& kb = bindings.actions[b];
                bool shared = false;
                for (int j = 0; j < kb.count; ++j) shared = shared || kb.keys[j] == ka.keys[i];
                if (!shared) continue;
                messages.push_back(name + ": " + input_key_name(ka.keys[i]) + " is bound to both " + INPUT_ACTIONS[a].setting +
                                   " and " + INPUT_ACTIONS[b].setting + "; " + conflict_outcome(a, b));
            }
        }
    }
}

std::string file_kind_words(PlatformFileKind kind) {
    return kind == PLATFORM_FILE_FOLDER ? "a folder" : "not a regular file (a FIFO, a device or a socket)";
}

std::string changes_words(const SettingsChanges& changes) {
    std::string out;
    for (const auto& [name, value] : changes) out += (out.empty() ? "" : ", ") + name + " = " + value;
    return out;
}

}  // namespace

bool settings_read_size(const std::string& text, int& width, int& height) {
    int w = 0, h = 0, i = 0;
    const int n = int(text.size());
    auto number = [&](int& out) {
        const int start = i;
        while (i < n && text[i] >= '0' && text[i] <= '9' && i - start < 6) out = out * 10 + (text[i++] - '0');
        return i > start && out >= SETTINGS_SIZE_MIN && out <= SETTINGS_SIZE_MAX;
    };
    if (!number(w) || i >= n || text[i++] != 'x' || !number(h) || i != n) return false;
    width = w;
    height = h;
    return true;
}

std::string settings_key_list(const KeyBinding& keys) {
    std::string out;
    for (int i = 0; i < keys.count && i < BINDING_MAX_KEYS; ++i)
        out += std::string(i ? ", " : "") + input_key_name(keys.keys[i]);
    return out;
}

std::string settings_button_list(uint32_t buttons) {
    std::string out;
    for (int b = 0; b < JOYSTICK_BUTTONS; ++b) {
        if (buttons & (1u << b)) out += std::string(out.empty() ? "" : ", ") + char('0' + b);
    }
    return out;
}

Settings settings_default() {
    Settings s{};
    s.fullscreen = false;
    s.mute = false;
    s.volume = AUDIO_VOLUME_MAX;
    s.scale_mode = SETTINGS_SCALE_UNSET;
    s.scale = 0;
    s.window_width = 0;
    s.window_height = 0;
    s.filter = FILTER_SMOOTH;
    s.vsync = -1;
    input_bindings_default(s.bindings);
    return s;
}

int settings_parse(const char* text, size_t length, const std::string& name, Settings& out,
                   std::vector<std::string>& messages) {
    size_t pos = text_start(text, length);
    int line_number = 0;
    int bad = 0;
    while (pos < length) {
        size_t end = pos;
        while (end < length && text[end] != '\n') ++end;
        const std::string raw(text + pos, end - pos);
        pos = end + 1;
        ++line_number;
        const std::string line = text_trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::string why;
        const size_t equals = line.find('=');
        if (line.find('\0') != std::string::npos) {
            why = "the line holds a NUL byte";
        } else if (equals == std::string::npos) {
            why = "expected 'name = value', got '" + printable_excerpt(line) + "'";
        } else if (read_line(text_trim(line.substr(0, equals)), text_trim(line.substr(equals + 1)), out, why)) {
            continue;
        }
        if (++bad <= SETTINGS_MAX_MESSAGES) messages.push_back(name + ":" + std::to_string(line_number) + ": " + why);
    }
    if (bad > SETTINGS_MAX_MESSAGES)
        messages.push_back(name + ": and " + std::to_string(bad - SETTINGS_MAX_MESSAGES) + " more bad lines");
    report_conflicts(out.bindings, name, messages);
    return bad;
}

void settings_load(const std::string& path, Settings& out, std::vector<std::string>& messages) {
    std::string text;
    int error = 0;
    switch (platform_read_file(path, MAX_FILE_BYTES, text, error)) {
        case PLATFORM_READ_MISSING: return;
        case PLATFORM_READ_NOT_REGULAR:
            messages.push_back(path + ": " + file_kind_words(platform_file_info(path).kind) +
                               ", not a settings file; using the defaults");
            return;
        case PLATFORM_READ_TOO_LARGE:
            messages.push_back(path + ": larger than 1 MiB, not a settings file; using the defaults");
            return;
        case PLATFORM_READ_FAILED:
            messages.push_back(path + ": cannot read it (" + std::strerror(error) + "); using the defaults");
            return;
        case PLATFORM_READ_OK: break;
    }
    settings_parse(text.data(), text.size(), path, out, messages);
}

namespace {

// settings_set on the text after the byte order mark: a second mark is part
// of the first line, as the reader takes it.
std::string set_in_lines(const std::string& text, const char* name, const char* value) {
    std::string out;
    bool found = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        const size_t equals = line.find('=');
        const std::string trimmed = text_trim(line);
        if (equals != std::string::npos && !trimmed.empty() && trimmed[0] != '#' &&
            text_trim(line.substr(0, equals)) == name) {
            // Keep the spacing after '=' and whatever trails the value.
            size_t start = equals + 1;
            while (start < line.size() && text_is_space(line[start]) && line[start] != '\r') ++start;
            size_t stop = line.size();
            while (stop > start && text_is_space(line[stop - 1])) --stop;
            line.replace(start, stop - start, value);
            found = true;
        }
        out += line;
        if (end < text.size()) out += '\n';
        pos = end + 1;
    }
    if (!found) {
        // A line added to a file of CRLF lines ends as its last line does.
        const size_t last_break = out.rfind('\n');
        const char* line_end = last_break != std::string::npos && last_break > 0 && out[last_break - 1] == '\r' ? "\r\n" : "\n";
        if (!out.empty() && out.back() != '\n') out += line_end;
        out += std::string(name) + " = " + value + line_end;
    }
    return out;
}

}  // namespace

std::string settings_set(const std::string& text, const char* name, const char* value) {
    // The mark stays where it is, and the first line is matched after it.
    const size_t mark = text_start(text.data(), text.size());
    return text.substr(0, mark) + set_in_lines(text.substr(mark), name, value);
}

namespace {

// The file at `target` (links already followed) with the changes made, or
// false with why it is left alone. Runs under the lock.
bool save_locked(const std::string& target, const SettingsChanges& changes, std::string& why) {
    const PlatformFileInfo info = platform_file_info(target);
    std::string text;
    bool exists = false;
    switch (info.kind) {
        case PLATFORM_FILE_ERROR: why = std::string("cannot tell what it is (") + std::strerror(info.error) + ")"; return false;
        case PLATFORM_FILE_FOLDER:
        case PLATFORM_FILE_OTHER: why = "it is " + file_kind_words(info.kind); return false;
        case PLATFORM_FILE_MISSING: text = "# ZUBA-TRILO settings: see 'man zuba-trilo'.\n"; break;
        case PLATFORM_FILE_REGULAR: {
            if (info.read_only) {
                why = "it is read-only, and is left alone";
                return false;
            }
            if (info.links > 1) {
                why = "it has other hard links, which a new file in its place would leave with the old settings";
                return false;
            }
            int error = 0;
            switch (platform_read_file(target, MAX_FILE_BYTES, text, error)) {
                case PLATFORM_READ_OK: exists = true; break;
                case PLATFORM_READ_MISSING: text = "# ZUBA-TRILO settings: see 'man zuba-trilo'.\n"; break;
                case PLATFORM_READ_NOT_REGULAR: why = "it is not a regular file"; return false;
                case PLATFORM_READ_TOO_LARGE: why = "it is larger than 1 MiB, not a settings file"; return false;
                case PLATFORM_READ_FAILED: why = std::string("cannot read it (") + std::strerror(error) + ")"; return false;
            }
            Settings ignored = settings_default();
            std::vector<std::string> messages;
            const int bad = settings_parse(text.data(), text.size(), target, ignored, messages);
            if (bad > 0) {
                why = "it does not read as a settings file (" + std::to_string(bad) + (bad == 1 ? " bad line)" : " bad lines)");
                return false;
            }
            break;
        }
    }
    std::string changed = text;
    for (const auto& [name, value] : changes) changed = settings_set(changed, name.c_str(), value.c_str());
    if (exists && changed == text) return true;  // another copy of the game saved the same

    // A leftover of a save cut short is the game's own and goes; a folder
    // in its way does not.
    const std::string temporary = target + ".new";
    std::FILE* out = platform_create_new_file(temporary);
    if (!out && errno == EEXIST && platform_file_info(temporary).kind != PLATFORM_FILE_FOLDER &&
        std::remove(temporary.c_str()) == 0)
        out = platform_create_new_file(temporary);
    if (!out) {
        why = "cannot write " + temporary + " beside it (" + std::strerror(errno) + ")";
        return false;
    }
    bool written = std::fwrite(changed.data(), 1, changed.size(), out) == changed.size() && std::fflush(out) == 0;
    int error = errno;
    if (std::fclose(out) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && exists && !platform_set_mode(temporary, info.mode)) {
        written = false;
        error = errno;
    }
    if (written && !platform_replace_file(temporary, target)) {
        written = false;
        error = errno;
    }
    if (!written) {
        std::remove(temporary.c_str());
        why = std::string("cannot write it (") + std::strerror(error) + ")";
        return false;
    }
    return true;
}

}  // namespace

bool settings_save(const std::string& path, const SettingsChanges& changes, std::string& error) {
    // A symbolic link (a dotfiles set-up) stays a link: its target is the
    // file that is read, locked beside and replaced.
    const std::string target = platform_resolve_links(path);
    const size_t slash = target.find_last_of("/\\");
    const std::string folder = slash == std::string::npos || slash == 0 ? "" : target.substr(0, slash);
    std::string why;
    PlatformLock lock{-1};
    int lock_error = 0;
    if (!folder.empty() && !platform_make_folders(folder)) {
        why = "cannot make its folder " + folder + " (" + std::strerror(errno) + ")";
    } else if (!platform_lock_beside(target, lock, lock_error)) {
        why = std::string("cannot lock its folder (") + std::strerror(lock_error) + ")";
    } else {
        const bool saved = save_locked(target, changes, why);
        platform_unlock(lock);
        if (saved) return true;
    }
    error = path + ": " + why + ", so " + changes_words(changes) + (changes.size() == 1 ? " is" : " are") + " not saved";
    return false;
}

bool settings_read_scale(const char* text, double& scale) {
    if (!text || !((*text >= '0' && *text <= '9') || *text == '.') || std::strpbrk(text, "xX")) return false;
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (*end != '\0' || !std::isfinite(value)) return false;
    if (value < SETTINGS_SCALE_MIN || value > SETTINGS_SCALE_MAX) return false;
    scale = value;
    return true;
}
