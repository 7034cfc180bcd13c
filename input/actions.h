// The actions of the game's controls, one row each: what holds or presses
// it, its name in the settings file and in replay scripts, and its default
// keys and joystick buttons. The input poll, the settings file, the replay
// scripts and their recorder, and the usage text all read this one table.
// It names SDL's key symbols, so only the code that reads keys includes it.
#pragma once
#include <SDL.h>

#include <cstdint>

#include "input/input.h"

struct InputActionRow {
    InputAction action;      // the row's own index
    const char* setting;     // "key.fire" in the settings file; null: a player cannot bind it
    const char* script_key;  // "fire" in replay scripts and demos; null: scripts cannot press it
    uint32_t held;           // the INPUT_ bit held while one of its keys or buttons is down
    uint32_t press;          // the PRESS_ bit each press makes, to be taken once
    KeyBinding keys;         // the default keys
    uint32_t pad_buttons;    // the joystick buttons (bit n: button n) that hold it
    const char* usage;       // what --help says it does; null: left out
};

inline constexpr InputActionRow INPUT_ACTIONS[ACTION_COUNT] = {
    {ACTION_UP, "key.up", "up", INPUT_UP, 0, {1, {SDLK_UP}}, 1u << 8, nullptr},
    {ACTION_DOWN, "key.down", "down", INPUT_DOWN, 0, {1, {SDLK_DOWN}}, 1u << 6, nullptr},
    {ACTION_LEFT, "key.left", "left", INPUT_LEFT, 0, {1, {SDLK_LEFT}}, 1u << 7, "move left"},
    {ACTION_RIGHT, "key.right", "right", INPUT_RIGHT, 0, {1, {SDLK_RIGHT}}, 1u << 9, "move right"},
    {ACTION_FIRE, "key.fire", "fire", INPUT_A, PRESS_FIRE, {2, {SDLK_z, SDLK_SPACE}}, 1u << 1,
     "fire; start a game"},
    // Buttons the game reads but gives nothing to do: keys and joystick
    // buttons hold them, so scripts and traces see them.
    {ACTION_B, nullptr, "b", INPUT_B, 0, {1, {SDLK_x}}, 1u << 2, nullptr},
    {ACTION_C, nullptr, "c", INPUT_C, 0, {1, {SDLK_c}}, 1u << 0, nullptr},
    {ACTION_D, nullptr, "d", INPUT_D, 0, {1, {SDLK_v}}, 1u << 3, nullptr},
    {ACTION_E, nullptr, nullptr, INPUT_E, 0, {0, {}}, 1u << 4, nullptr},
    {ACTION_F, nullptr, nullptr, INPUT_F, 0, {0, {}}, 1u << 5, nullptr},
    {ACTION_PAUSE, "key.pause", "pause", 0, PRESS_PAUSE, {2, {SDLK_p, SDLK_PAUSE}}, 0, "pause and resume"},
    {ACTION_MUTE, "key.mute", nullptr, 0, PRESS_MUTE, {1, {SDLK_m}}, 0, "sound off and on"},
    {ACTION_QUIT, "key.quit", "escape", 0, 0, {2, {SDLK_ESCAPE, SDLK_q}}, 0, "quit"},
    // F11 and F12 are kept: they always do this, whatever else is bound.
    {ACTION_FULLSCREEN, "key.fullscreen", nullptr, 0, 0, {1, {SDLK_F11}}, 0, "fullscreen and back (Alt+Enter too)"},
    {ACTION_SCREENSHOT, "key.screenshot", nullptr, 0, PRESS_SCREENSHOT, {1, {SDLK_F12}}, 0, "save a screenshot"},
    // Scripts, demos and the headless driver cannot open the options.
    {ACTION_OPTIONS, "key.options", nullptr, 0, PRESS_OPTIONS, {1, {SDLK_o}}, 0, "options"},
};

// Each row at its own index, so INPUT_ACTIONS[action] is that action's row.
constexpr bool input_actions_in_order() {
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (INPUT_ACTIONS[a].action != a) return false;
    }
    return true;
}
static_assert(input_actions_in_order(), "INPUT_ACTIONS rows follow InputAction");
