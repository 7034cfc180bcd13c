// The settings text in the page's local storage. Storage may be switched off
// or full, and its text may be anything: neither ever stops the game, which
// then plays with its defaults and says why on the console.
#include "web/web_settings.h"

#include <emscripten.h>

#include <cstdio>
#include <string>
#include <vector>

#include "audio/mixer.h"

namespace {

// Beyond this the text is not a settings file (the desktop's limit too): it
// is not read, and the next save starts a new text in its place.
constexpr int MAX_TEXT_BYTES = 1 << 20;

// The mute last stored (or read): the mute key's changes are saved against it.
bool stored_mute = false;

// The stored text's length in UTF-8 bytes; -1 when there is none, -2 when
// the page may not use its storage.
EM_JS(int, page_settings_length, (const char* key), {
    try {
        var text = localStorage.getItem(UTF8ToString(key));
        return text === null ? -1 : lengthBytesUTF8(text);
    } catch (e) {
        return -2;
    }
});

EM_JS(void, page_settings_copy, (const char* key, char* out, int size), {
    try {
        stringToUTF8(localStorage.getItem(UTF8ToString(key)) || "", out, size);
    } catch (e) {
        HEAPU8[out] = 0;
    }
});

// Stores length bytes (a NUL inside the text is kept, not an end); 0 when
// the storage refused.
EM_JS(int, page_settings_store, (const char* key, const char* text, int length), {
    try {
        localStorage.setItem(UTF8ToString(key), new TextDecoder().decode(HEAPU8.subarray(text, text + length)));
        return 1;
    } catch (e) {
        return 0;
    }
});

// Sharp keeps the canvas's pixels square when the browser scales it.
EM_JS(void, page_canvas_sharp, (int sharp), {
    if (Module.canvas) Module.canvas.style.imageRendering = sharp ? "pixelated" : "";
});

// The options screen's fullscreen switches the page's (the browser allows it
// shortly after the key press or tap that chose it).
EM_JS(void, page_fullscreen, (int on), {
    if (Module.zubaFullscreen) Module.zubaFullscreen(on);
});

std::string key_words() { return std::string("the page's storage (") + WEB_SETTINGS_KEY + ")"; }

// The stored text, or why there is none to read: false with why empty means
// nothing is stored yet.
bool read_text(std::string& text, std::string& why) {
    text.clear();
    const int length = page_settings_length(WEB_SETTINGS_KEY);
    if (length == -1) return false;
    if (length == -2) {
        why = key_words() + " cannot be used: settings are not kept";
        return false;
    }
    if (length > MAX_TEXT_BYTES) {
        why = key_words() + " holds " + std::to_string(length) + " bytes, too many for settings: not read";
        return false;
    }
    std::vector<char> bytes(size_t(length) + 1);
    page_settings_copy(WEB_SETTINGS_KEY, bytes.data(), length + 1);
    text.assign(bytes.data(), size_t(length));
    return true;
}

void report(const std::string& line) { std::fprintf(stderr, "zuba-trilo: %s\n", line.c_str()); }

}  // namespace

Settings web_settings_load() {
    Settings settings = settings_default();
    std::string text, why;
    if (read_text(text, why)) {
        std::vector<std::string> messages;
        settings_parse(text.data(), text.size(), WEB_SETTINGS_KEY, settings, messages);
        for (const std::string& m : messages) report(m);
    } else if (!why.empty()) {
        report(why);
    }
    input_bindings = settings.bindings;
    return settings;
}

void web_settings_apply(const Settings& settings) {
    audio_set_muted(settings.mute);
    audio_set_volume(settings.volume);
    page_canvas_sharp(settings.filter == FILTER_SHARP);
    stored_mute = settings.mute;
}

void web_settings_save(const SettingsChanges& changes) {
    // Read again at each save: another tab of the game may have stored its
    // own change since, and it is kept.
    std::string text, why;
    read_text(text, why);
    for (const auto& [name, value] : changes) {
        text = settings_set(text, name.c_str(), value.c_str());
        if (name == "mute") stored_mute = value == "yes";
        if (name == "filter") page_canvas_sharp(value == "sharp");
        if (name == "fullscreen") page_fullscreen(value == "yes");
    }
    if (!page_settings_store(WEB_SETTINGS_KEY, text.data(), int(text.size())))
        report(key_words() + " refused the settings: not kept");
}

void web_settings_keep_mute() {
    const bool muted = mixer.muted != 0;
    if (muted != stored_mute) web_settings_save({{"mute", muted ? "yes" : "no"}});
}
