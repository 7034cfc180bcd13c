// The options screen as the player works it: with keys and a gamepad pushed
// into SDL's queue, over the title and a game, and what each change hands
// the settings file.
#include "session/options_screen.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "audio/mixer.h"
#include "game/game.h"
#include "input/actions.h"
#include "session/screens.h"
#include "tests/test_support.h"

namespace {

std::vector<SettingsChanges> saved;
void keep(const SettingsChanges& changes) { saved.push_back(changes); }

// What the one change since the last look saved, as "name = value" lines.
std::vector<std::string> last_saved() {
    std::vector<std::string> lines;
    if (saved.empty()) return lines;
    for (const auto& [name, value] : saved.back()) lines.push_back(name + " = " + value);
    saved.clear();
    return lines;
}

// A pad's button pressed and let go.
void push_button(int button) {
    push_joy_button(0, button, true);
    push_joy_button(0, button, false);
}

// A key pressed and let go, as the poll of a pass reads it.
void press(int sym, int modifiers = 0) {
    replay_push_key(sym, true, modifiers);
    replay_push_key(sym, false, modifiers);
    input_poll();
}

// The cursor moved down to the item (a screen that went wrong never hangs).
void go_to(int item) {
    for (int moves = 0; options_screen.item != item && moves < 64; ++moves) options_screen_move(OptionsMove::DOWN);
}

// Fire on the action's item, then the key to bind.
void bind(InputAction action, int sym, int modifiers = 0) {
    go_to(options_control_item(action));
    press(SDLK_z);
    press(sym, modifiers);
}

// The settings a file holding these lines reads back, and its bad lines.
int bad_lines_of(const std::vector<SettingsChanges>& all, Settings& out) {
    std::string text;
    for (const SettingsChanges& changes : all) {
        for (const auto& [name, value] : changes) text = settings_set(text, name.c_str(), value.c_str());
    }
    out = settings_default();
    std::vector<std::string> messages;
    return settings_parse(text.data(), text.size(), "test", out, messages);
}

class OptionsScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_headless_video());
        input_init();
        input_poll();
        input_bindings_default(input_bindings);
        audio_set_muted(false);
        audio_set_volume(AUDIO_VOLUME_MAX);
        options_screen = OptionsScreen{};
        options_screen_start(settings_default());
        options_screen_set_saver(keep);
        saved.clear();
    }
    void TearDown() override {
        options_screen_forget();
        options_screen = OptionsScreen{};
        options_screen_set_saver(nullptr);
        input_bindings_default(input_bindings);
        input_shutdown();
        stop_headless_video();
    }
};

TEST_F(OptionsScreenTest, EachSettingStepsThroughItsValuesAndSavesOnlyItsOwnLine) {
    options_screen_open();
    // The cursor goes round: up from the first item is the last.
    press(SDLK_UP);
    EXPECT_EQ(options_screen.item, options_back_item());
    // Each step, the line it saves (none past the volume's ends) and what the item shows.
    struct Step {
        int item, sym;
        const char* line;  // "" when nothing is saved
        const char* shown;
    };
    const Step steps[] = {
        {OPTIONS_SOUND, SDLK_RIGHT, "mute = yes", "SOUND       OFF"},
        {OPTIONS_SOUND, SDLK_z, "mute = no", "SOUND       ON"},
        {OPTIONS_VOLUME, SDLK_RIGHT, "", "VOLUME      10"},
        {OPTIONS_VOLUME, SDLK_LEFT, "volume = 9", "VOLUME      9"},
        {OPTIONS_WINDOW, SDLK_RIGHT, "scale = window", "WINDOW      1:1"},
        {OPTIONS_WINDOW, SDLK_RIGHT, "scale = 0.25", "WINDOW      0.25"},
        {OPTIONS_WINDOW, SDLK_LEFT, "scale = window", "WINDOW      1:1"},
        {OPTIONS_WINDOW, SDLK_LEFT, "scale = auto", "WINDOW      FIT"},
        {OPTIONS_WINDOW, SDLK_LEFT, "scale = 2", "WINDOW      2"},
        {OPTIONS_FULLSCREEN, SDLK_RIGHT, "fullscreen = yes", "FULLSCREEN  ON"},
        {OPTIONS_PICTURE, SDLK_LEFT, "filter = sharp", "PICTURE     SHARP"},
        {OPTIONS_VSYNC, SDLK_RIGHT, "vsync = yes", "VSYNC       ON"},
        {OPTIONS_VSYNC, SDLK_SPACE, "vsync = no", "VSYNC       OFF"},
    };
    for (const Step& step : steps) {
        go_to(step.item);
        press(step.sym);
        EXPECT_EQ(last_saved(), *step.line ? std::vector<std::string>{step.line} : std::vector<std::string>{});
        EXPECT_EQ(options_item_text(step.item), step.shown);
    }
    // What the window item saves is what the settings file reads.
    Settings back{};
    EXPECT_EQ(bad_lines_of({{{"scale", "2"}, {"filter", "sharp"}}}, back), 0);
    EXPECT_EQ(back.scale, 2.0);
    // The volume stops at 0.
    go_to(OPTIONS_VOLUME);
    for (int i = 0; i < 12; ++i) press(SDLK_LEFT);
    EXPECT_EQ(audio_volume(), 0);
    EXPECT_EQ(saved.size(), 9u);
    // q does nothing here and Escape only closes: nobody quits.
    press(SDLK_q);
    EXPECT_TRUE(options_screen.open);
    press(SDLK_ESCAPE);
    EXPECT_FALSE(options_screen.open);
    EXPECT_EQ(input.quit_requested, 0);
}

TEST_F(OptionsScreenTest, AKeyReplacesTheActionsKeysAndMovesAwayFromAnotherAction) {
    options_screen_open();
    std::vector<SettingsChanges> all;
    go_to(options_control_item(ACTION_FIRE));
    press(SDLK_z);
    EXPECT_TRUE(options_screen.waiting);
    EXPECT_EQ(options_item_text(options_screen.item), "FIRE        PRESS A KEY");
    press(SDLK_x);
    all.push_back(saved.back());
    EXPECT_EQ(last_saved(), std::vector<std::string>{"key.fire = x"});
    EXPECT_EQ(options_item_text(options_screen.item), "FIRE        X  PAD 1");

    // m is mute's only key: it moves to pause, and mute is left without one.
    go_to(options_control_item(ACTION_PAUSE));
    press(SDLK_x);
    press(SDLK_m);
    EXPECT_STREQ(options_screen.message, "M MOVED FROM MUTE");
    all.push_back(saved.back());
    EXPECT_EQ(last_saved(), (std::vector<std::string>{"key.pause = m", "key.mute = "}));

    // Escape while waiting keeps the keys as they were and saves nothing.
    go_to(options_control_item(ACTION_LEFT));
    press(SDLK_x);
    press(SDLK_ESCAPE);
    EXPECT_TRUE(options_screen.open && !options_screen.waiting && saved.empty());
    EXPECT_EQ(input_bindings.actions[ACTION_LEFT].keys[0], SDLK_LEFT);

    // What was saved reads back clean, as the game now plays.
    Settings back{};
    EXPECT_EQ(bad_lines_of(all, back), 0);
    EXPECT_EQ(std::memcmp(back.bindings.actions, input_bindings.actions, sizeof back.bindings.actions), 0);
    EXPECT_EQ(back.bindings.actions[ACTION_MUTE].count, 0) << "an action may be left without keys";
    // The moved key now works outside: x fires, z does nothing, m pauses.
    options_screen_close();
    input_take_presses();
    press(SDLK_z);
    press(SDLK_m);
    EXPECT_EQ(input_take_presses(), PRESS_PAUSE);
}

TEST_F(OptionsScreenTest, ThePlayerNeverLosesTheWayToQuitOrToTheOptionsNorAKeptKey) {
    options_screen_open();
    bind(ACTION_QUIT, SDLK_q);
    EXPECT_EQ(last_saved(), std::vector<std::string>{"key.quit = q"});
    struct Refusal {
        InputAction action;
        int sym, modifiers;
        const char* message;
    };
    const Refusal refusals[] = {
        {ACTION_FIRE, SDLK_q, 0, "Q IS THE ONLY KEY TO QUIT"},
        {ACTION_PAUSE, SDLK_o, 0, "O IS THE ONLY KEY FOR OPTIONS"},
        {ACTION_FIRE, SDLK_F11, 0, "F11 IS KEPT FOR FULLSCREEN"},
        {ACTION_MUTE, SDLK_F12, 0, "F12 IS KEPT FOR SCREENSHOT"},
        {ACTION_FIRE, SDLK_RETURN, KMOD_LALT, "ALT+ENTER IS KEPT FOR FULLSCREEN"},
    };
    const InputBindings before = input_bindings;
    for (const Refusal& r : refusals) {
        bind(r.action, r.sym, r.modifiers);
        EXPECT_STREQ(options_screen.message, r.message);
        EXPECT_TRUE(saved.empty()) << r.message;
        EXPECT_EQ(std::memcmp(&before, &input_bindings, sizeof before), 0) << r.message;
    }
    // Keys the game keeps may go to their own action; with a second options
    // key, the first may go elsewhere.
    bind(ACTION_FULLSCREEN, SDLK_F11);
    EXPECT_EQ(last_saved(), std::vector<std::string>{"key.fullscreen = f11"});
    bind(ACTION_OPTIONS, SDLK_F5);
    EXPECT_EQ(last_saved(), std::vector<std::string>{"key.options = f5"});
    bind(ACTION_PAUSE, SDLK_o);
    EXPECT_EQ(last_saved(), std::vector<std::string>{"key.pause = o"});
    // The options key now closes the screen; o no longer does.
    press(SDLK_o);
    EXPECT_TRUE(options_screen.open);
    press(SDLK_F5);
    EXPECT_FALSE(options_screen.open);

    // Fire moved onto the left arrow, which moves here: Enter still acts,
    // so the screen can always undo what it did. Reset gives every action
    // its keys and buttons back and saves them all.
    options_screen_open();
    bind(ACTION_FIRE, SDLK_LEFT);
    EXPECT_EQ(last_saved(), (std::vector<std::string>{"key.fire = left", "key.left = "}));
    go_to(options_reset_item());
    press(SDLK_z);
    EXPECT_TRUE(saved.empty()) << "z no longer fires";
    press(SDLK_RETURN);
    InputBindings defaults{};
    input_bindings_default(defaults);
    EXPECT_EQ(std::memcmp(&defaults, &input_bindings, sizeof defaults), 0);
    const std::vector<std::string> lines = last_saved();
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[4] + "; " + lines[7] + "; " + lines[13], "key.fire = z, space; key.quit = escape, q; pad.options = 4");
    go_to(options_back_item());
    press(SDLK_SPACE);
    EXPECT_FALSE(options_screen.open);
}

TEST_F(OptionsScreenTest, AGamepadChoosesChangesAndBindsThroughSdlEvents) {
    // The options button opens nothing by itself (the screens do), and
    // presses it.
    input_take_presses();
    push_button(4);
    input_poll();
    EXPECT_EQ(input_take_presses(), PRESS_OPTIONS);
    options_screen_open();
    // The stick chooses (each new push once) and changes.
    push_joy_axis(0, 1, 30000);
    input_poll();
    push_joy_axis(0, 1, 30000);
    input_poll();
    EXPECT_EQ(options_screen.item, OPTIONS_WINDOW);
    push_joy_axis(0, 1, 0);
    for (int i = 0; i < 4; ++i) {
        push_joy_axis(0, 1, 30000);
        push_joy_axis(0, 1, 0);
    }
    input_poll();
    EXPECT_EQ(options_screen.item, OPTIONS_VOLUME);
    push_joy_axis(0, 0, -30000);
    push_joy_axis(0, 0, 0);
    input_poll();
    EXPECT_EQ(audio_volume(), AUDIO_VOLUME_MAX - 1);
    EXPECT_EQ(last_saved(), std::vector<std::string>{"volume = 9"});
    // The pad's fire button binds; the button moves from pause to fire.
    input_bindings.pad_pause = 1u << 3;
    go_to(options_control_item(ACTION_FIRE));
    push_button(1);
    input_poll();
    ASSERT_TRUE(options_screen.waiting);
    push_button(3);
    input_poll();
    EXPECT_EQ(last_saved(), (std::vector<std::string>{"pad.fire = 3", "pad.pause = "}));
    EXPECT_STREQ(options_screen.message, "PAD 3 MOVED FROM PAUSE");
    EXPECT_EQ(options_item_text(options_screen.item), "FIRE        Z, SPACE  PAD 1, 3");
    // An action without buttons of its own refuses one.
    go_to(options_control_item(ACTION_MUTE));
    push_button(3);
    push_button(7);
    input_poll();
    EXPECT_STREQ(options_screen.message, "NO PAD BUTTON FOR MUTE");
    EXPECT_TRUE(saved.empty());
    // Nothing pressed on the screen reached the game; the button closes.
    EXPECT_EQ(input_held(), 0u);
    push_button(4);
    input_poll();
    EXPECT_FALSE(options_screen.open);
    EXPECT_EQ(input_take_presses(), 0u);
}

// The screens as main runs them, one pass at a time.
void passes(int n) {
    for (int i = 0; i < n; ++i) screen_pass();
}

// A key pressed and let go before the next n passes.
void tap_then_pass(int sym, int n = 1) {
    replay_push_key(sym, true);
    replay_push_key(sym, false);
    passes(n);
}

// (That closing puts the picture back exactly is the end-to-end test's.)
TEST_F(OptionsScreenTest, TheOptionsKeyFreezesTheTitleAndPausesAGameWhichStaysPausedWhenItCloses) {
    screens.state = SCREEN_TITLE_BEGIN;
    screens.paused = false;
    options_screen.available = false;
    passes(40);
    // Not offered (a demo, the headless driver): the key does nothing.
    tap_then_pass(SDLK_o);
    EXPECT_FALSE(options_screen.open);
    options_screen.available = true;
    tap_then_pass(SDLK_o);
    ASSERT_TRUE(options_screen.open);
    const int timer = screens.screen_timer;
    // Fire works the screen and does not start a game; nothing blinks.
    tap_then_pass(SDLK_z, 90);
    EXPECT_EQ(screens.state, SCREEN_TITLE_WAIT);
    EXPECT_EQ(screens.screen_timer, timer);
    EXPECT_EQ(screens.start_countdown, 0);
    tap_then_pass(SDLK_ESCAPE);
    EXPECT_FALSE(options_screen.open);
    EXPECT_EQ(input.quit_requested, 0);

    // In a game the key pauses first; closing leaves the game paused, and
    // the pause key pressed on the screen does not resume.
    replay_push_key(SDLK_z, true);
    passes(2);
    replay_push_key(SDLK_z, false);
    for (int i = 0; i < 200 && screens.state != SCREEN_GAME_RUN; ++i) passes(1);
    ASSERT_EQ(screens.state, SCREEN_GAME_RUN);
    passes(20);
    tap_then_pass(SDLK_o);
    ASSERT_TRUE(options_screen.open);
    EXPECT_TRUE(screen_paused());
    replay_push_key(SDLK_p, true);
    replay_push_key(SDLK_p, false);
    tap_then_pass(SDLK_o, 3);
    EXPECT_FALSE(options_screen.open);
    EXPECT_TRUE(screen_paused());
    tap_then_pass(SDLK_p);
    EXPECT_FALSE(screen_paused());
    screen_return_to_splash();
}

}  // namespace
