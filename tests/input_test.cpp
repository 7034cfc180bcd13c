// Input: real SDL events, pushed into SDL's own queue and folded into the
// held-button bits by input_poll, exactly as in play.
#include "input/input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "tests/test_support.h"

namespace {

void push_button(int device, int button, bool down) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton = SDL_JoyButtonEvent{e.type, uint8_t(device), uint8_t(button), uint8_t(down ? SDL_PRESSED : SDL_RELEASED)};
    SDL_PushEvent(&e);
}

void push_axis(int device, int axis, int value) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.jaxis = SDL_JoyAxisEvent{SDL_JOYAXISMOTION, uint8_t(device), uint8_t(axis), int16_t(value)};
    SDL_PushEvent(&e);
}

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
    for (int sym : {int(SDLK_a), int(SDLK_RETURN), int(SDLK_ESCAPE), int(SDLK_q)}) replay_push_key(sym, true);
    EXPECT_EQ(words(), (std::vector<uint32_t>{0, 0, 0, 0}));
}

TEST_F(Input, JoystickZeroButtonsShareTheKeyboardWordSoButton7ReleaseClearsAHeldLeftKey) {
    const uint32_t bits[10] = {64, 16, 32, 128, 256, 512, 2, 4, 1, 8};
    for (int b = 0; b < 10; ++b) {
        push_button(0, b, true);
        EXPECT_EQ(words()[0], bits[b]) << b;
        push_button(0, b, false);
        EXPECT_EQ(words()[0], 0u) << b;
    }
    replay_push_key(SDLK_LEFT, true);
    push_button(0, 7, true);
    push_button(0, 7, false);
    input_poll();
    EXPECT_EQ(input_held(), 0u);
}

TEST_F(Input, StickBitsLiveInTheirOwnWordAndExactly20000CountsAsCentred) {
    replay_push_key(SDLK_RIGHT, true);
    push_axis(0, 0, -32768);
    EXPECT_EQ(words(), (std::vector<uint32_t>{INPUT_RIGHT, 0, INPUT_LEFT, 0}));
    EXPECT_EQ(input_held(), INPUT_LEFT | INPUT_RIGHT);
    replay_push_key(SDLK_RIGHT, false);
    const std::pair<int, uint32_t> axis0[] = {
        {-20000, 0}, {20001, INPUT_RIGHT}, {20000, 0}, {-20001, INPUT_LEFT}};
    for (auto [value, bits] : axis0) {
        push_axis(0, 0, value);
        EXPECT_EQ(words()[2], bits) << value;
    }
    push_axis(0, 1, 32767);  // axis 1 restates up and down only
    EXPECT_EQ(words()[2], INPUT_LEFT | INPUT_DOWN);
}

TEST_F(Input, TheSecondJoystickChangesOnlyItsOwnWordsAndOtherDevicesNothing) {
    push_button(1, 1, true);
    push_axis(1, 1, 30000);
    EXPECT_EQ(words(), (std::vector<uint32_t>{0, INPUT_A, 0, INPUT_DOWN}));
    EXPECT_EQ(input_held(), 0u);
    input_init();
    push_button(2, 1, true);
    push_axis(2, 0, -30000);
    push_button(0, 10, true);
    push_axis(0, 2, -30000);
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_JOYHATMOTION;
    e.jhat.value = SDL_HAT_LEFT;
    SDL_PushEvent(&e);
    EXPECT_EQ(words(), (std::vector<uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(input.quit_requested, 0);
}

TEST_F(Input, QuitIsAskedByWindowCloseEscapeOrQAndLastsOnePoll) {
    replay_push_quit();
    input_poll();
    EXPECT_EQ(input.quit_requested, 1);
    input_poll();
    EXPECT_EQ(input.quit_requested, 0);
    for (int sym : {int(SDLK_ESCAPE), int(SDLK_q)}) {
        replay_push_key(sym, true);
        input_poll();
        EXPECT_EQ(input.quit_requested, 1) << sym;
        replay_push_key(sym, false);
        input_poll();
        EXPECT_EQ(input.quit_requested, 0) << sym;
    }
}

}  // namespace

TEST_F(Input, WhileADemoPlaysThePlayersKeysOnlyQuitMuteAndTakeAScreenshot) {
    input_play_demo(true);
    const std::pair<int, uint32_t> keys[] = {{SDLK_F12, PRESS_SCREENSHOT}, {SDLK_m, PRESS_MUTE},
                                             {SDLK_z, 0}, {SDLK_p, 0}, {SDLK_LEFT, 0}};
    for (const auto& [sym, press] : keys) {
        input_take_presses();
        replay_push_key(sym, true);
        input_poll();
        EXPECT_EQ(input_take_presses(), press) << sym;
        EXPECT_EQ(input_held(), 0u) << sym;
        replay_push_key(sym, false);
        input_poll();
    }
    replay_push_key(SDLK_ESCAPE, true);
    input_poll();
    EXPECT_EQ(input.quit_requested, 1);
    input_play_demo(false);
}

TEST_F(Input, MouseMovesWhileNobodyPollsCannotCrowdOutAKeyReleaseOrAQuit) {
    // SDL's queue is small; a screen that reads no input for 90 frames must
    // not lose the release of a held key or a close to a moving mouse.
    // Ninety frames of a busy mouse, each frame ending with the loop's pump.
    replay_push_key(SDLK_LEFT, true);
    ASSERT_EQ(words()[0], INPUT_LEFT);
    for (int frame = 0; frame < 90; ++frame) {
        for (int i = 0; i < 20; ++i) {
            SDL_Event e;
            std::memset(&e, 0, sizeof e);
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
    push_button(0, 3, true);
    EXPECT_EQ(words()[0], INPUT_D | INPUT_A);
    push_button(0, 3, false);
    push_button(0, 9, true);
    EXPECT_EQ(words()[0], INPUT_RIGHT);
    EXPECT_EQ(input_take_presses(), PRESS_FIRE | PRESS_PAUSE);
    push_button(0, 9, false);
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

TEST_F(Input, KeyNamesAreSdlsOwnInAnyCase) {
    const std::pair<const char*, int> names[] = {{"z", SDLK_z}, {"Space", SDLK_SPACE}, {"left", SDLK_LEFT},
                                                 {"F12", SDLK_F12}, {"pause", SDLK_PAUSE},
                                                 {"left shift", SDLK_LSHIFT}, {"escape", SDLK_ESCAPE}};
    for (auto [name, sym] : names) EXPECT_EQ(input_key_by_name(name), sym) << name;
    for (const char* bad : {"", "nosuch", "left  shift", "z "}) EXPECT_EQ(input_key_by_name(bad), -1) << bad;
}
