// Input: real SDL events, pushed into SDL's own queue and folded into the
// held-button bits by input_poll, exactly as in play.
#include "input/input.h"

#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "tests/test_support.h"

namespace {

void push(const SDL_Event& e) { ASSERT_EQ(SDL_PushEvent(const_cast<SDL_Event*>(&e)), 0); }

void push_key(int sym, bool down, int mod = KMOD_NONE) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = SDLKey(sym);
    e.key.keysym.mod = SDLMod(mod);
    push(e);
}

// state defaults to the one that matches the event type.
void push_button(int device, int button, bool down, int state = -1) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.which = uint8_t(device);
    e.jbutton.button = uint8_t(button);
    e.jbutton.state = uint8_t(state >= 0 ? state : (down ? SDL_PRESSED : SDL_RELEASED));
    push(e);
}

void push_axis(int device, int axis, int value) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.which = uint8_t(device);
    e.jaxis.axis = uint8_t(axis);
    e.jaxis.value = int16_t(value);
    push(e);
}

void push_type(uint8_t type) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    push(e);
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
    static void expect_words(uint32_t b0, uint32_t b1, uint32_t a0, uint32_t a1) {
        EXPECT_EQ(input.buttons[0], b0);
        EXPECT_EQ(input.buttons[1], b1);
        EXPECT_EQ(input.axes[0], a0);
        EXPECT_EQ(input.axes[1], a1);
    }
};

struct KeyCase {
    int sym;
    uint32_t bit;
};

TEST_F(Input, EachKeySetsItsBitWhileHeldWhateverTheModifiers) {
    const KeyCase keys[] = {{SDLK_UP, INPUT_UP},     {SDLK_DOWN, INPUT_DOWN}, {SDLK_LEFT, INPUT_LEFT},
                            {SDLK_RIGHT, INPUT_RIGHT}, {SDLK_z, INPUT_A},       {SDLK_SPACE, INPUT_A},
                            {SDLK_x, INPUT_B},       {SDLK_c, INPUT_C},       {SDLK_v, INPUT_D}};
    for (const KeyCase& k : keys) {
        SCOPED_TRACE(k.sym);
        push_key(k.sym, true, KMOD_LSHIFT | KMOD_LCTRL);
        input_poll();
        EXPECT_EQ(input_held(), k.bit);
        EXPECT_EQ(input.buttons[0], k.bit);
        // Held means held: a poll without events keeps the bit.
        input_poll();
        EXPECT_EQ(input_held(), k.bit);
        push_key(k.sym, false);
        input_poll();
        EXPECT_EQ(input_held(), 0u);
    }
    // Keys outside the table, Escape and 'q' set no bit.
    for (int sym : {int(SDLK_a), int(SDLK_RETURN), int(SDLK_LSHIFT), int(SDLK_ESCAPE), int(SDLK_q)}) {
        push_key(sym, true);
        push_key(sym, false);
    }
    input_poll();
    expect_words(0, 0, 0, 0);
}

TEST_F(Input, APressAndReleaseBetweenTwoPollsLeaveNoTrace) {
    push_key(SDLK_z, true);
    push_key(SDLK_z, false);
    push_button(0, 1, true);
    push_button(0, 1, false);
    input_poll();
    EXPECT_EQ(input_held(), 0u);
}

TEST_F(Input, ReleasingSpaceOrZClearsFireWhileTheOtherIsStillHeld) {
    push_key(SDLK_SPACE, true);
    push_key(SDLK_z, true);
    input_poll();
    EXPECT_EQ(input_held(), INPUT_A);
    push_key(SDLK_SPACE, false);
    input_poll();
    EXPECT_EQ(input_held(), 0u) << "deliberately: one bit for both keys";
    push_key(SDLK_z, true);
    input_poll();
    EXPECT_EQ(input_held(), INPUT_A);
}

TEST_F(Input, JoystickZeroButtonsShareTheKeyboardWord) {
    const uint32_t bits[10] = {64, 16, 32, 128, 256, 512, 2, 4, 1, 8};
    for (int b = 0; b < 10; ++b) {
        SCOPED_TRACE(b);
        push_button(0, b, true);
        input_poll();
        EXPECT_EQ(input.buttons[0], bits[b]);
        EXPECT_EQ(input_held(), bits[b]);
        push_button(0, b, false);
        input_poll();
        EXPECT_EQ(input_held(), 0u);
    }
    // The keyboard's left is cleared by the button's release although the key
    // is still down.
    push_key(SDLK_LEFT, true);
    push_button(0, 7, true);
    input_poll();
    EXPECT_EQ(input_held(), INPUT_LEFT);
    push_button(0, 7, false);
    input_poll();
    EXPECT_EQ(input.buttons[0] & INPUT_LEFT, 0u);
    EXPECT_EQ(input_held(), 0u);
}

TEST_F(Input, ButtonEventsCountOnlyWhenTheirStateAgrees) {
    push_button(0, 1, true, SDL_RELEASED);
    input_poll();
    EXPECT_EQ(input_held(), 0u);
    push_button(0, 1, true);
    push_button(0, 1, false, SDL_PRESSED);
    input_poll();
    EXPECT_EQ(input_held(), INPUT_A);
}

TEST_F(Input, StickBitsLiveInTheirOwnWordAndTheThresholdIsStrict) {
    // Stick left with cursor right held: both show.
    push_key(SDLK_RIGHT, true);
    push_axis(0, 0, -32768);
    input_poll();
    EXPECT_EQ(input_held(), INPUT_LEFT | INPUT_RIGHT);
    expect_words(INPUT_RIGHT, 0, INPUT_LEFT, 0);
    push_key(SDLK_RIGHT, false);

    // Exactly +-20000 counts as centred and clears the pair.
    push_axis(0, 0, -20000);
    input_poll();
    EXPECT_EQ(input.axes[0], 0u);
    push_axis(0, 0, 20001);
    input_poll();
    EXPECT_EQ(input.axes[0], INPUT_RIGHT);
    push_axis(0, 0, 20000);
    input_poll();
    EXPECT_EQ(input.axes[0], 0u);
    push_axis(0, 0, -20001);
    input_poll();
    EXPECT_EQ(input.axes[0], INPUT_LEFT);

    // Axis 1 restates up and down only, leaving axis 0's pair alone.
    push_axis(0, 1, -20001);
    input_poll();
    EXPECT_EQ(input.axes[0], INPUT_LEFT | INPUT_UP);
    push_axis(0, 1, 32767);
    input_poll();
    EXPECT_EQ(input.axes[0], INPUT_LEFT | INPUT_DOWN);
    push_axis(0, 1, 20000);
    push_axis(0, 0, 0);
    input_poll();
    expect_words(0, 0, 0, 0);
}

TEST_F(Input, TheSecondJoystickChangesOnlyItsOwnWords) {
    push_button(1, 1, true);
    push_button(1, 7, true);
    push_axis(1, 0, -30000);
    push_axis(1, 1, 30000);
    input_poll();
    expect_words(0, INPUT_A | INPUT_LEFT, 0, INPUT_LEFT | INPUT_DOWN);
    EXPECT_EQ(input_held(), 0u);
    push_button(1, 1, false);
    input_poll();
    expect_words(0, INPUT_LEFT, 0, INPUT_LEFT | INPUT_DOWN);
}

TEST_F(Input, UnknownDevicesButtonsAxesHatsAndBallsChangeNothing) {
    push_button(2, 1, true);
    push_button(3, 0, true);
    push_axis(2, 0, -30000);
    push_button(0, 10, true);
    push_button(1, 15, true);
    push_axis(0, 2, -30000);
    push_axis(0, 3, 30000);
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_JOYHATMOTION;
    e.jhat.value = SDL_HAT_LEFT;
    push(e);
    std::memset(&e, 0, sizeof e);
    e.type = SDL_JOYBALLMOTION;
    e.jball.xrel = -50;
    push(e);
    push_type(SDL_MOUSEBUTTONDOWN);
    input_poll();
    expect_words(0, 0, 0, 0);
    EXPECT_EQ(input.quit_requested, 0);
}

TEST_F(Input, QuitIsAskedByWindowCloseEscapeOrQAndLastsOnePoll) {
    push_type(SDL_QUIT);
    input_poll();
    EXPECT_EQ(input.quit_requested, 1);
    input_poll();
    EXPECT_EQ(input.quit_requested, 0);

    for (int sym : {int(SDLK_ESCAPE), int(SDLK_q)}) {
        push_key(sym, true);
        input_poll();
        EXPECT_EQ(input.quit_requested, 1) << sym;
        push_key(sym, false);
        input_poll();
        EXPECT_EQ(input.quit_requested, 0) << sym;
    }
    // Releasing Escape asks nothing; other keys never ask.
    push_key(SDLK_ESCAPE, false);
    push_key(SDLK_z, true);
    input_poll();
    EXPECT_EQ(input.quit_requested, 0);
}

TEST_F(Input, InitForgetsHeldBitsButNotAQuitRequest) {
    push_key(SDLK_LEFT, true);
    push_button(1, 0, true);
    push_axis(0, 0, 30000);
    push_axis(1, 1, 30000);
    push_key(SDLK_ESCAPE, true);
    input_poll();
    ASSERT_EQ(input.quit_requested, 1);
    input_init();
    expect_words(0, 0, 0, 0);
    EXPECT_EQ(input.quit_requested, 1);
    EXPECT_EQ(input.joysticks[0], nullptr);  // none attached under the dummy driver
    EXPECT_EQ(input.joysticks[1], nullptr);
}

// SDL's own virtual joysticks stand in for attached devices. They live in the
// library behind the SDL 1.2 interface, so they are reached through it
// directly; where that library has none the test is skipped.
TEST(InputJoysticks, OnlyTheFirstTwoOfThreeJoysticksAreOpenedAndShutdownClosesThem) {
    void* sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!sdl2) GTEST_SKIP() << "no SDL 2 library behind SDL 1.2";
    using InitFn = int (*)(uint32_t);
    using AttachFn = int (*)(int type, int naxes, int nbuttons, int nhats);
    using QuitFn = void (*)(uint32_t);
    auto init2 = reinterpret_cast<InitFn>(dlsym(sdl2, "SDL_InitSubSystem"));
    auto attach = reinterpret_cast<AttachFn>(dlsym(sdl2, "SDL_JoystickAttachVirtual"));
    auto quit2 = reinterpret_cast<QuitFn>(dlsym(sdl2, "SDL_QuitSubSystem"));
    if (!init2 || !attach || !quit2) GTEST_SKIP() << "no virtual joysticks";
    constexpr uint32_t SDL2_INIT_JOYSTICK = 0x200;
    constexpr int SDL2_JOYSTICK_TYPE_GAMECONTROLLER = 1;
    ASSERT_EQ(init2(SDL2_INIT_JOYSTICK), 0);
    for (int i = 0; i < 3; ++i) ASSERT_GE(attach(SDL2_JOYSTICK_TYPE_GAMECONTROLLER, 2, 10, 0), 0);

    ASSERT_TRUE(start_headless_video());
    if (SDL_NumJoysticks() != 3) {
        stop_headless_video();
        quit2(SDL2_INIT_JOYSTICK);
        GTEST_SKIP() << "SDL 1.2 sees " << SDL_NumJoysticks() << " joysticks, not the 3 attached";
    }
    input_init();
    EXPECT_NE(input.joysticks[0], nullptr);
    EXPECT_NE(input.joysticks[1], nullptr);
    EXPECT_TRUE(SDL_JoystickOpened(0));
    EXPECT_TRUE(SDL_JoystickOpened(1));
    EXPECT_FALSE(SDL_JoystickOpened(2));
    input_shutdown();
    EXPECT_EQ(input.joysticks[0], nullptr);
    EXPECT_EQ(input.joysticks[1], nullptr);
    EXPECT_FALSE(SDL_JoystickOpened(0));
    EXPECT_FALSE(SDL_JoystickOpened(1));
    stop_headless_video();
    quit2(SDL2_INIT_JOYSTICK);
}

}  // namespace
