// Input: real SDL events, pushed into SDL's own queue and folded into the
// held-button bits by input_poll, exactly as in play.
#include "input/input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "input/actions.h"
#include "tests/test_support.h"

namespace {

class Input : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_headless_video());
        input_init();
        input_poll();  // whatever the video start-up queued
        input.quit_requested = 0;
    }
    void TearDown() override {
        input_shutdown();
        stop_headless_video();
    }
    // buttons[0], buttons[1], axes[0], axes[1] after a poll.
    static std::vector<uint32_t> words() {
        input_poll();
        return {input.buttons[0], input.buttons[1], input.axes[0], input.axes[1]};
    }
};

TEST_F(Input, EachKeySetsItsBitWhileHeldWhateverTheModifiersAndOtherKeysSetNone) {
    const std::pair<int, uint32_t> keys[] = {{SDLK_UP, INPUT_UP}, {SDLK_DOWN, INPUT_DOWN}, {SDLK_LEFT, INPUT_LEFT},
                                             {SDLK_RIGHT, INPUT_RIGHT}, {SDLK_z, INPUT_A}, {SDLK_SPACE, INPUT_A},
                                             {SDLK_x, INPUT_B}, {SDLK_c, INPUT_C}, {SDLK_v, INPUT_D}};
    for (auto [sym, bit] : keys) {
        replay_push_key(sym, true, KMOD_LSHIFT | KMOD_LCTRL);
        input_poll();
        input_poll();  // held means held: a poll without events keeps the bit
        EXPECT_EQ(input_held(), bit) << sym;
        replay_push_key(sym, false);
        input_poll();
        EXPECT_EQ(input_held(), 0u) << sym;
    }
    for (int sym : {int(SDLK_a), int(SDLK_RETURN)}) replay_push_key(sym, true);
    EXPECT_EQ(words(), (std::vector<uint32_t>{0, 0, 0, 0}));
    // Escape and q ask to quit, for one poll.
    for (int sym : {int(SDLK_ESCAPE), int(SDLK_q)}) {
        replay_push_key(sym, true);
        EXPECT_EQ(words()[0], 0u);
        EXPECT_EQ(input.quit_requested, 1) << sym;
        replay_push_key(sym, false);
        input_poll();
        EXPECT_EQ(input.quit_requested, 0) << sym;
    }
}

TEST_F(Input, JoystickZeroButtonsShareTheKeyboardWordSoButton7ReleaseClearsAHeldLeftKey) {
    const uint32_t bits[10] = {64, 16, 32, 128, 256, 512, 2, 4, 1, 8};
    for (int b = 0; b < 10; ++b) {
        push_joy_button(0, b, true);
        EXPECT_EQ(words()[0], bits[b]) << b;
        push_joy_button(0, b, false);
        EXPECT_EQ(words()[0], 0u) << b;
    }
    replay_push_key(SDLK_LEFT, true);
    push_joy_button(0, 7, true);
    push_joy_button(0, 7, false);
    input_poll();
    EXPECT_EQ(input_held(), 0u);
}

TEST_F(Input, StickBitsLiveInTheirOwnWordAndExactly20000CountsAsCentred) {
    replay_push_key(SDLK_RIGHT, true);
    push_joy_axis(0, 0, -32768);
    EXPECT_EQ(words(), (std::vector<uint32_t>{INPUT_RIGHT, 0, INPUT_LEFT, 0}));
    EXPECT_EQ(input_held(), INPUT_LEFT | INPUT_RIGHT);
    replay_push_key(SDLK_RIGHT, false);
    const std::pair<int, uint32_t> axis0[] = {
        {-20000, 0}, {20001, INPUT_RIGHT}, {20000, 0}, {-20001, INPUT_LEFT}};
    for (auto [value, bits] : axis0) {
        push_joy_axis(0, 0, value);
        EXPECT_EQ(words()[2], bits) << value;
    }
    push_joy_axis(0, 1, 32767);  // axis 1 restates up and down only
    EXPECT_EQ(words()[2], INPUT_LEFT | INPUT_DOWN);
}

TEST_F(Input, TheSecondJoystickChangesOnlyItsOwnWordsAndOtherDevicesNothing) {
    push_joy_button(1, 1, true);
    push_joy_axis(1, 1, 30000);
    EXPECT_EQ(words(), (std::vector<uint32_t>{0, INPUT_A, 0, INPUT_DOWN}));
    EXPECT_EQ(input_held(), 0u);
    input_init();
    push_joy_button(2, 1, true);
    push_joy_axis(2, 0, -30000);
    push_joy_button(0, 10, true);
    push_joy_axis(0, 2, -30000);
    SDL_Event e{};
    e.type = SDL_JOYHATMOTION;
    e.jhat.value = SDL_HAT_LEFT;
    SDL_PushEvent(&e);
    EXPECT_EQ(words(), (std::vector<uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(input.quit_requested, 0);
}

}  // namespace

TEST_F(Input, MouseMovesWhileNobodyPollsCannotCrowdOutAKeyReleaseOrAQuit) {
    // SDL's queue is small; a screen that reads no input for 90 frames must
    // not lose the release of a held key or a close to a moving mouse.
    // Ninety frames of a busy mouse, each frame ending with the loop's pump.
    replay_push_key(SDLK_LEFT, true);
    ASSERT_EQ(words()[0], INPUT_LEFT);
    for (int frame = 0; frame < 90; ++frame) {
        for (int i = 0; i < 20; ++i) {
            SDL_Event e{};
            e.type = SDL_MOUSEMOTION;
            SDL_PushEvent(&e);
        }
        if (frame == 40) replay_push_key(SDLK_LEFT, false);
        if (frame == 50) replay_push_quit();
        input_pump();
        ASSERT_EQ(input.quit_requested, 0) << "a quit waits for the next poll";
    }
    EXPECT_EQ(words()[0], 0u);
    EXPECT_EQ(input.quit_requested, 1);
    EXPECT_EQ(words()[0], 0u);
    EXPECT_EQ(input.quit_requested, 0) << "and lasts one poll";
}

TEST_F(Input, KeysActThroughTheBindingTableWhichTheSettingsFill) {
    const InputBindings saved = input_bindings;
    input_bindings.actions[ACTION_FIRE] = KeyBinding{1, {SDLK_x}};
    input_bindings.actions[ACTION_QUIT] = KeyBinding{1, {SDLK_F3}};
    input_bindings.pad_fire = 1u << 3;
    input_bindings.pad_pause = 1u << 9;
    // z no longer fires and q no longer quits; x fires and F3 quits.
    replay_push_key(SDLK_z, true);
    replay_push_key(SDLK_q, true);
    EXPECT_EQ(words()[0], 0u);
    EXPECT_EQ(input.quit_requested, 0);
    EXPECT_EQ(input_take_presses(), 0u);
    replay_push_key(SDLK_x, true);
    replay_push_key(SDLK_F3, true);
    EXPECT_EQ(words()[0], INPUT_A | INPUT_B) << "x fires and keeps its own unused bit";
    EXPECT_EQ(input.quit_requested, 1);
    EXPECT_EQ(input_take_presses(), PRESS_FIRE);
    replay_push_key(SDLK_x, false);
    EXPECT_EQ(words()[0], 0u);
    // The player's buttons add to the game's table: 3 keeps its own bit and
    // fires; 9 keeps moving right and pauses.
    push_joy_button(0, 3, true);
    EXPECT_EQ(words()[0], INPUT_D | INPUT_A);
    push_joy_button(0, 3, false);
    push_joy_button(0, 9, true);
    EXPECT_EQ(words()[0], INPUT_RIGHT);
    EXPECT_EQ(input_take_presses(), PRESS_FIRE | PRESS_PAUSE);
    push_joy_button(0, 9, false);
    input_bindings = saved;
    // The default table: the comfort keys press once each.
    for (auto [sym, press] : {std::pair{SDLK_p, PRESS_PAUSE}, {SDLK_PAUSE, PRESS_PAUSE}, {SDLK_m, PRESS_MUTE},
                              {SDLK_F12, PRESS_SCREENSHOT}}) {
        replay_push_key(sym, true);
        replay_push_key(sym, false);
        EXPECT_EQ(words()[0], 0u);
        EXPECT_EQ(input_take_presses(), press) << sym;
        EXPECT_EQ(input_take_presses(), 0u) << "taken once";
    }
}

TEST_F(Input, KeysAreNamedAsTheReadmeNamesThemInAnyCaseAndEachNameIsOneKey) {
    const std::pair<const char*, int> names[] = {
        {"z", SDLK_z},          {"Space", SDLK_SPACE},   {"left", SDLK_LEFT},      {"F12", SDLK_F12},
        {"pause", SDLK_PAUSE},  {"left shift", SDLK_LSHIFT}, {"escape", SDLK_ESCAPE}, {"keypad 5", SDLK_KP5},
        {"[5]", SDLK_KP5},      {"Keypad Enter", SDLK_KP_ENTER}, {"comma", SDLK_COMMA}, {"page up", SDLK_PAGEUP}};
    for (auto [name, sym] : names) EXPECT_EQ(input_key_by_name(name), sym) << name;
    for (const char* bad : {"", "nosuch", "left  shift", "z ", "unknown key", "world 0", ","})
        EXPECT_EQ(input_key_by_name(bad), -1) << bad;
    // A name is one key, and a key's own name (not an alias) names it back.
    for (int i = 0; i < INPUT_KEY_NAME_COUNT; ++i) {
        const InputKeyName& k = INPUT_KEY_NAMES[i];
        for (int j = 0; j < i; ++j) EXPECT_STRCASENE(k.name, INPUT_KEY_NAMES[j].name);
        if (!k.alias) {
            EXPECT_STREQ(input_key_name(k.sym), k.name);
        }
    }
}

TEST_F(Input, F11AltEnterAndF12AreAlwaysTheGamesOwnAndAKeyThatQuitsAlwaysQuits) {
    const InputBindings saved = input_bindings;
    int toggles = 0;
    static int* counter = nullptr;
    counter = &toggles;
    input_set_toggle_handler([] { *counter += 1; });
    input_bindings.actions[ACTION_FULLSCREEN] = KeyBinding{2, {SDLK_F4, SDLK_F5}};
    input_bindings.actions[ACTION_SCREENSHOT] = KeyBinding{1, {SDLK_F6}};
    input_bindings.actions[ACTION_QUIT] = KeyBinding{1, {SDLK_F5}};
    for (int sym : {SDLK_F11, SDLK_F4}) {
        replay_push_key(sym, true);
        replay_push_key(sym, false);
    }
    replay_push_key(SDLK_RETURN, true, KMOD_LALT);
    replay_push_key(SDLK_RETURN, true, KMOD_RALT);
    input_poll();
    EXPECT_EQ(toggles, 4) << "F11 and Alt+Enter still switch fullscreen besides the key the settings gave it";
    EXPECT_EQ(input_held(), 0u);
    replay_push_key(SDLK_F12, true);
    input_poll();
    EXPECT_EQ(input_take_presses(), PRESS_SCREENSHOT) << "F12 still takes a screenshot";
    EXPECT_EQ(input.quit_requested, 0);
    replay_push_key(SDLK_F5, true);
    input_poll();
    EXPECT_EQ(toggles, 4) << "F5 is bound to fullscreen and quit: it quits";
    EXPECT_EQ(input.quit_requested, 1);
    // Enter alone is no switch; fire with Alt held still fires.
    replay_push_key(SDLK_RETURN, true);
    replay_push_key(SDLK_z, true, KMOD_LALT);
    input_poll();
    EXPECT_EQ(toggles, 4);
    EXPECT_EQ(input_held(), INPUT_A);
    input_set_toggle_handler(nullptr);
    input_bindings = saved;
}

namespace {

// "`z` or space", "Left\fR,\fP Right", "cursor left / right" as key names:
// {"z", "space"}, {"left", "right"}.
std::vector<std::string> doc_keys(std::string cell) {
    for (char& c : cell) c = char(std::tolower(static_cast<unsigned char>(c)));
    cell = cell.substr(0, cell.find(", or "));  // "escape or q, or closing the window"
    std::string plain;
    for (char c : cell) {
        if (c != '`') plain += c;
    }
    if (plain.rfind("cursor ", 0) == 0) plain.erase(0, 7);
    std::vector<std::string> keys;
    for (size_t at = 0; at <= plain.size();) {
        size_t cut = plain.size(), skip = 0;
        for (const char* sep : {" or ", " / ", "\\fr,\\fp "}) {
            const size_t s = plain.find(sep, at);
            if (s < cut) {
                cut = s;
                skip = std::strlen(sep);
            }
        }
        keys.push_back(plain.substr(at, cut - at));
        if (cut == plain.size()) break;
        at = cut + skip;
    }
    return keys;
}

}  // namespace

TEST(KeyNames, TheReadmeTheManualPageAndTheWindowsReadmeListTheDefaultKeysOfTheTable) {
    // The keys --help lists, and Alt+Enter, which has no name of its own.
    std::vector<std::string> table{"alt+enter"};
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (!a.usage) continue;
        for (int k = 0; k < a.keys.count; ++k) table.push_back(input_key_name(a.keys.keys[k]));
    }
    std::sort(table.begin(), table.end());

    // The README's controls table: "| `z` or space | button 1 | fire ... |".
    std::istringstream readme_lines(doc_part("README.md", "| Keyboard |", "\n\n"));
    std::vector<std::string> readme_keys;
    std::string line;
    std::getline(readme_lines, line);
    std::getline(readme_lines, line);  // |---|
    while (std::getline(readme_lines, line) && line.rfind("| ", 0) == 0) {
        for (const std::string& k : doc_keys(line.substr(2, line.find(" |") - 2))) readme_keys.push_back(k);
    }
    // The manual's ".SS Keyboard": ".TP" then ".B z\fR,\fP Space".
    std::istringstream man_lines(doc_part("packaging/zuba-trilo.6", ".SS Keyboard\n", ".SS Joystick"));
    std::vector<std::string> man_keys;
    for (std::string previous; std::getline(man_lines, line); previous = line) {
        if (previous != ".TP" || line.rfind(".B ", 0) != 0) continue;
        for (const std::string& k : doc_keys(line.substr(3))) man_keys.push_back(k);
    }
    // The Windows README.txt's "Keys" part: "  z or space            fire ...".
    std::istringstream windows_lines(doc_part("packaging/windows/README.txt.in", "\nKeys\n----\n\n", "\n\n"));
    std::vector<std::string> windows_keys;
    while (std::getline(windows_lines, line) && !line.empty()) {
        if (line.size() < 3 || line.rfind("  ", 0) != 0 || line[2] == ' ') continue;  // a description's second line
        for (const std::string& k : doc_keys(line.substr(2, line.find("  ", 2) - 2))) windows_keys.push_back(k);
    }
    EXPECT_EQ(man_keys, readme_keys) << "the manual page and the README list other keys, or in another order";
    EXPECT_EQ(windows_keys, readme_keys) << "the Windows README.txt and the README list other keys, or in another order";
    std::sort(readme_keys.begin(), readme_keys.end());
    EXPECT_EQ(readme_keys, table) << "the README's keys are not the table's defaults";
}

namespace {
int repaints = 0;
void count_repaint() { repaints += 1; }
}  // namespace

TEST_F(Input, TheWindowIsRepaintedWhenExposedOrRestoredAlsoDuringADemoButNotOnAFocusChange) {
    input_set_repaint_handler(count_repaint);
    for (bool demo : {false, true}) {
        input_play_demo(demo);
        repaints = 0;
        SDL_Event e{};
        e.type = SDL_VIDEOEXPOSE;
        SDL_PushEvent(&e);
        input_pump();
        EXPECT_EQ(repaints, 1) << "expose, demo " << demo;
        push_window_active(1, SDL_APPACTIVE);
        input_poll();
        EXPECT_EQ(repaints, 2) << "restored from the icon, demo " << demo;
        push_window_active(0, SDL_APPACTIVE);
        push_window_active(1, SDL_APPINPUTFOCUS);
        push_window_active(1, SDL_APPMOUSEFOCUS);
        input_poll();
        EXPECT_EQ(repaints, 2) << "minimised or focus, demo " << demo;
    }
    input_play_demo(false);
    input_set_repaint_handler(nullptr);
    input.presses = 0;
}
