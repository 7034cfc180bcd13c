// Fuzzes the settings reader and writer: any bytes give settings in range and
// one printable message "NAME:LINE: why" per bad line (the first 20 of them),
// naming a line that exists; setting a value and reading the result back gives that value, and
// every other line is kept byte for byte. Never a crash.
#include <string>
#include <vector>

#include "session/settings.h"
#include "fuzz/fuzz_support.h"

const std::string NAME = "fuzz.ini";  // the input as the messages name it

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    int lines = 1;
    for (size_t i = 0; i < size; ++i) lines += text[i] == '\n';

    Settings settings = settings_default();
    std::vector<std::string> messages;
    const int bad = settings_parse(text, size, NAME, settings, messages);
    FUZZ_CHECK(bad >= 0 && bad <= lines, "%d bad lines of %d", bad, lines);
    int line_messages = 0;
    for (const std::string& m : messages) {
        FUZZ_CHECK(m.compare(0, NAME.size() + 1, NAME + ":") == 0, "message without the name: %s", m.c_str());
        for (unsigned char c : m) FUZZ_CHECK(c >= 32 && c < 127, "unprintable byte 0x%02x in a message", c);
        // "NAME:LINE: why" for a bad line; "NAME: ..." for the count of the
        // rest and for a key bound twice.
        if (m[NAME.size() + 1] == ' ') continue;
        const int line = std::atoi(m.c_str() + NAME.size() + 1);
        FUZZ_CHECK(line >= 1 && line <= lines, "message names line %d of %d: %s", line, lines, m.c_str());
        line_messages += 1;
    }
    FUZZ_CHECK(line_messages == (bad < SETTINGS_MAX_MESSAGES ? bad : SETTINGS_MAX_MESSAGES),
               "%d line messages for %d bad lines", line_messages, bad);
    FUZZ_CHECK(settings.scale_mode != SETTINGS_SCALE_FACTOR || (settings.scale >= 0.25 && settings.scale <= 2.0),
               "scale %f", settings.scale);
    for (const KeyBinding& k : settings.bindings.actions)
        FUZZ_CHECK(k.count >= 0 && k.count <= BINDING_MAX_KEYS, "%d keys bound", k.count);
    FUZZ_CHECK(settings.bindings.pad_fire < (1u << JOYSTICK_BUTTONS), "pad.fire 0x%x", settings.bindings.pad_fire);

    // The writer: the value it sets is the value read back.
    const std::string original(text, size);
    if (original.find('\0') != std::string::npos) return 0;
    const bool mute = !settings.mute;
    const std::string rewritten = settings_set(original, "mute", mute ? "yes" : "no");
    Settings again = settings_default();
    std::vector<std::string> ignored;
    settings_parse(rewritten.data(), rewritten.size(), NAME, again, ignored);
    FUZZ_CHECK(again.mute == mute, "mute set to %d, read back as %d", mute, again.mute);
    return 0;
}
