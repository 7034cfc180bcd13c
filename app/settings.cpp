// The settings file: a lenient reader into a Settings record, and a writer
// that changes only the lines it owns.
#include "app/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/options.h"
#include "app/printable.h"
#include "platform/platform.h"

namespace {

constexpr size_t MAX_FILE_BYTES = 1 << 20;  // far beyond any hand-written file

// The names of key.NAME, in InputAction order; null for the keys that are
// read but never bound by a player.
constexpr const char* KEY_SETTING_NAMES[ACTION_COUNT] = {
    "key.up", "key.down", "key.left", "key.right", "key.fire", nullptr, nullptr,
    nullptr,  "key.pause", "key.mute", "key.quit", "key.fullscreen", "key.screenshot"};

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && is_space(s[a])) ++a;
    while (b > a && is_space(s[b - 1])) --b;
    return s.substr(a, b - a);
}

std::vector<std::string> split_list(const std::string& value) {
    std::vector<std::string> items;
    size_t start = 0;
    while (true) {
        const size_t comma = value.find(',', start);
        items.push_back(trim(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
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

bool read_keys(const std::string& value, KeyBinding& out, std::string& why) {
    KeyBinding keys{};
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
        else if (options_read_scale(value.c_str(), out.scale)) out.scale_mode = SETTINGS_SCALE_FACTOR;
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
    if (name == "window_size") {
        if (settings_read_size(value, out.window_width, out.window_height)) return true;
        why = "window_size wants WIDTHxHEIGHT (each from " + std::to_string(SETTINGS_SIZE_MIN) + " to " +
              std::to_string(SETTINGS_SIZE_MAX) + "), not '" + printable_excerpt(value) + "'";
        return false;
    }
    if (name == "pad.fire") return read_buttons(value, out.bindings.pad_fire, why);
    if (name == "pad.pause") return read_buttons(value, out.bindings.pad_pause, why);
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (KEY_SETTING_NAMES[a] && name == KEY_SETTING_NAMES[a]) {
            return read_keys(value, out.bindings.actions[a], why);
        }
    }
    why = "unknown name '" + printable_excerpt(name) + "'";
    return false;
}

std::string base_name(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

Settings settings_default() {
    Settings s{};
    s.fullscreen = false;
    s.mute = false;
    s.scale_mode = SETTINGS_SCALE_UNSET;
    s.scale = 0;
    s.window_width = 0;
    s.window_height = 0;
    s.filter = FILTER_SMOOTH;
    s.vsync = -1;
    input_bindings_default(s.bindings);
    return s;
}

void settings_parse(const char* text, size_t length, const std::string& name, Settings& out,
                    std::vector<std::string>& messages) {
    size_t pos = 0;
    int line_number = 0;
    while (pos < length) {
        size_t end = pos;
        while (end < length && text[end] != '\n') ++end;
        const std::string raw(text + pos, end - pos);
        pos = end + 1;
        ++line_number;
        const std::string line = trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::string why;
        const size_t equals = line.find('=');
        if (line.find('\0') != std::string::npos) {
            why = "the line holds a NUL byte";
        } else if (equals == std::string::npos) {
            why = "expected 'name = value', got '" + printable_excerpt(line) + "'";
        } else if (read_line(trim(line.substr(0, equals)), trim(line.substr(equals + 1)), out, why)) {
            continue;
        }
        messages.push_back(name + ":" + std::to_string(line_number) + ": " + why);
    }
}

void settings_load(const std::string& path, Settings& out, std::vector<std::string>& messages) {
    const std::string name = base_name(path);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (errno != ENOENT) messages.push_back(name + ": cannot read it (" + std::strerror(errno) + "); using the defaults");
        return;
    }
    std::string text(MAX_FILE_BYTES + 1, '\0');
    const size_t got = std::fread(text.data(), 1, text.size(), f);
    const bool failed = std::ferror(f) != 0;
    const int read_errno = errno;
    std::fclose(f);
    if (failed) {
        messages.push_back(name + ": cannot read it (" + std::strerror(read_errno) + "); using the defaults");
        return;
    }
    if (got > MAX_FILE_BYTES) {
        messages.push_back(name + ": larger than 1 MiB, not a settings file; using the defaults");
        return;
    }
    settings_parse(text.data(), got, name, out, messages);
}

std::string settings_set(const std::string& text, const char* name, const char* value) {
    std::string out;
    bool found = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        const size_t equals = line.find('=');
        const std::string trimmed = trim(line);
        if (equals != std::string::npos && !trimmed.empty() && trimmed[0] != '#' &&
            trim(line.substr(0, equals)) == name) {
            // Keep the spacing after '=' and whatever trails the value.
            size_t start = equals + 1;
            while (start < line.size() && is_space(line[start]) && line[start] != '\r') ++start;
            size_t stop = line.size();
            while (stop > start && is_space(line[stop - 1])) --stop;
            line.replace(start, stop - start, value);
            found = true;
        }
        out += line;
        if (end < text.size()) out += '\n';
        pos = end + 1;
    }
    if (!found) {
        if (!out.empty() && out.back() != '\n') out += '\n';
        out += std::string(name) + " = " + value + "\n";
    }
    return out;
}

bool settings_save(const std::string& path, const SettingsChanges& changes, std::string& error) {
    std::string text;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
        const bool failed = std::ferror(in) != 0;
        std::fclose(in);
        // A file that cannot be read whole is left alone rather than lost.
        if (failed || text.size() > MAX_FILE_BYTES) {
            error = path + ": cannot read it, so it is left as it was";
            return false;
        }
    } else if (errno != ENOENT) {
        error = path + ": cannot read it (" + std::string(std::strerror(errno)) + "), so it is left as it was";
        return false;
    } else {
        text = "# ZUBA-TRILO settings: see 'man zuba-trilo'.\n";
    }
    for (const auto& [name, value] : changes) text = settings_set(text, name.c_str(), value.c_str());
    const size_t slash = path.find_last_of("/\\");
    if (slash != std::string::npos && slash > 0) platform_make_folders(path.substr(0, slash));
    const std::string temporary = path + ".new";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    bool written = out && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (out && std::fclose(out) != 0) written = false;
    if (!written || !platform_replace_file(temporary, path)) {
        error = path + ": cannot write it (" + std::string(std::strerror(errno)) + "), so it is left as it was";
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
