// Input: SDL keyboard and joystick events folded into held-button bits and a
// quit request. Nothing here knows the game.
#pragma once
#include <cstdint>

struct _SDL_Joystick;
union SDL_Event;

constexpr uint32_t INPUT_UP = 1;
constexpr uint32_t INPUT_DOWN = 2;
constexpr uint32_t INPUT_LEFT = 4;
constexpr uint32_t INPUT_RIGHT = 8;
constexpr uint32_t INPUT_A = 16;  // fire and start
constexpr uint32_t INPUT_B = 32;
constexpr uint32_t INPUT_C = 64;
constexpr uint32_t INPUT_D = 128;
constexpr uint32_t INPUT_E = 256;
constexpr uint32_t INPUT_F = 512;

constexpr int MAX_JOYSTICKS = 2;
constexpr int AXIS_THRESHOLD = 20000;

struct InputState {
    uint32_t buttons[MAX_JOYSTICKS];  // word 0: keyboard and joystick 0
    uint32_t axes[MAX_JOYSTICKS];
    _SDL_Joystick* joysticks[MAX_JOYSTICKS];
    int32_t quit_requested;
    int32_t quit_pending;  // a quit seen by input_pump, handed on by the next poll
    uint32_t polled;        // the held bits the last poll read (what a demo records)
    uint32_t polls;         // polls so far (wrapping)
    int32_t window_closed;  // a window close was seen (a demo records it as such)
};

extern InputState input;

void input_init();
// What Alt+Enter and F11 do (switch fullscreen and back); those keys never
// reach the held bits nor quit. nullptr makes them plain unused keys.
void input_set_toggle_handler(void (*toggle)());
void input_poll();
// Folds waiting events into the held bits without a poll: the bits are only
// read right after a poll, and a quit seen here waits for the next poll, so
// nothing changes for the game, but SDL's small queue never overflows during
// the stretches of play that read no input.
void input_pump();
uint32_t input_held();
void input_shutdown();
// Folds one event into the input state (what input_poll does per event).
void input_handle_event(const SDL_Event& event);
// While a demo plays in the window the held bits are the demo's: the player's
// keys and joystick no longer reach them; the quit keys, the window close and
// the fullscreen keys still work.
void input_play_demo(bool on);
// The demo's held bits from the next poll on, and a quit it asks for there.
void input_demo_hold(uint32_t bits, bool quit);
