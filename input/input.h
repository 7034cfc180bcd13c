// Input: SDL keyboard and joystick events folded into held-button bits, a quit
// request and the presses of the player's comfort keys. Which keys do what is
// a binding table that the player's settings may fill. Nothing here knows the
// game.
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

// Presses kept until taken: they act once, whatever the held bits do.
constexpr uint32_t PRESS_FIRE = 1;
constexpr uint32_t PRESS_PAUSE = 2;
constexpr uint32_t PRESS_MUTE = 4;
constexpr uint32_t PRESS_SCREENSHOT = 8;
constexpr uint32_t PRESS_FOCUS_LOST = 16;  // the window lost the keyboard or was minimised
constexpr uint32_t PRESS_OPTIONS = 32;

constexpr int MAX_JOYSTICKS = 2;
constexpr int AXIS_THRESHOLD = 20000;
constexpr int JOYSTICK_BUTTONS = 10;

// What a key or a joystick button can be bound to (input/actions.h holds
// one row of each). The first ten set held bits; the others act once per
// press.
enum InputAction : int {
    ACTION_UP,
    ACTION_DOWN,
    ACTION_LEFT,
    ACTION_RIGHT,
    ACTION_FIRE,
    ACTION_B,
    ACTION_C,
    ACTION_D,
    ACTION_E,
    ACTION_F,
    ACTION_PAUSE,
    ACTION_MUTE,
    ACTION_QUIT,
    ACTION_FULLSCREEN,
    ACTION_SCREENSHOT,
    ACTION_OPTIONS,
    ACTION_COUNT
};
constexpr int BINDING_MAX_KEYS = 8;

struct KeyBinding {
    int count;
    int keys[BINDING_MAX_KEYS];  // SDL key symbols
};

struct InputBindings {
    KeyBinding actions[ACTION_COUNT];
    // Joystick 0 buttons (bit n: button n) that fire or pause besides what
    // the game's own button table gives them.
    uint32_t pad_fire;
    uint32_t pad_pause;
    uint32_t pad_options;  // the buttons that open and close the options screen
};

extern InputBindings input_bindings;

struct InputState {
    uint32_t buttons[MAX_JOYSTICKS];  // word 0: keyboard and joystick 0
    uint32_t axes[MAX_JOYSTICKS];
    _SDL_Joystick* joysticks[MAX_JOYSTICKS];
    int32_t quit_requested;
    int32_t quit_pending;  // a quit seen by input_pump, handed on by the next poll
    uint32_t presses;      // PRESS_ bits not yet taken
    uint32_t held_back;    // held bits hidden from the game until released
    uint32_t polled;        // the held bits the last poll read (what a demo records)
    uint32_t polls;         // polls so far (wrapping)
    int32_t window_closed;  // a window close was seen (a demo records it as such)
};

extern InputState input;

// The bindings the game has always had, the default keys of INPUT_ACTIONS:
// cursor keys, z and space fire, x c v, p and Pause, m, Escape and q, F11,
// F12, o; no extra joystick buttons to fire or pause, button 4 for the options.
void input_bindings_default(InputBindings& bindings);
// The names a player gives keys in the settings file, matched in any case:
// the one list the settings reader, the README and the manual page follow.
// Rows marked `alias` are other spellings accepted for the key of a row
// before them (SDL 1.2's own "[5]" for the keypad, a comma's own character).
struct InputKeyName {
    const char* name;
    int sym;  // SDL key symbol
    bool alias;
};
extern const InputKeyName INPUT_KEY_NAMES[];
extern const int INPUT_KEY_NAME_COUNT;
// The SDL key symbol of a name of INPUT_KEY_NAMES (any case); -1 when no key
// has that name.
int input_key_by_name(const char* name);
// The name of a key symbol (its first row); "?" for a key the list lacks.
const char* input_key_name(int sym);

// Keys the game keeps for itself: F11 always switches fullscreen and F12
// always takes a screenshot, whatever the settings bind to those actions
// besides, as Alt+Enter always switches fullscreen. The action a kept key
// belongs to, or -1 for any other key.
int input_kept_key_action(int sym);

void input_init();
// What Alt+Enter and the fullscreen keys do (switch fullscreen and back);
// those keys never reach the held bits nor quit. nullptr makes them plain
// unused keys.
void input_set_toggle_handler(void (*toggle)());
// What the window's expose and restore events call (the desktop destroyed
// the picture the window showed); nullptr ignores them.
void input_set_repaint_handler(void (*repaint)());
// What the player's resizing of the window calls, with its new size.
void input_set_resize_handler(void (*resize)(int width, int height));
void input_poll();
// Folds waiting events into the held bits without a poll: the bits are only
// read right after a poll, and a quit seen here waits for the next poll, so
// nothing changes for the game, but SDL's small queue never overflows during
// the stretches of play that read no input.
void input_pump();
uint32_t input_held();
// Opens joystick 0 if none is open and SDL now offers one: a browser offers a
// gamepad only after its first button press, long after start-up.
void input_open_late_joystick();
// Forgets a quit request, handed on or still waiting.
void input_forget_quit();
// The presses since the last call, which forgets them.
uint32_t input_take_presses();
// Every held key, button and stick direction let go, so nothing stays held
// while the player is away from the window.
void input_release_all();
// Hides held bits from the game until each is released (a fire press that
// resumes a paused game must not also fire).
void input_hold_back(uint32_t bits);
void input_shutdown();
// What a menu on top of the game (the options screen) is given while it is
// open, in place of the game: each key pressed (its SDL symbol, and whether
// Alt was down), each button of joystick 0 pressed, and each direction the
// stick of joystick 0 is newly pushed (ACTION_UP, ACTION_DOWN, ACTION_LEFT,
// ACTION_RIGHT). Key releases and the stick still update the held bits.
enum InputMenuKind : int { MENU_KEY, MENU_PAD_BUTTON, MENU_STICK };
struct InputMenuEvent {
    InputMenuKind kind;
    int code;  // key symbol, button number or direction
    bool alt;
};
// While set, key presses and joystick 0's buttons go to menu instead of the
// game; a key the menu does not take (it gives false) acts as usual, so the
// fullscreen and screenshot keys keep working. nullptr: back to the game.
void input_set_menu(bool (*menu)(const InputMenuEvent& event));
// The default joystick button for the options.
constexpr uint32_t PAD_OPTIONS_DEFAULT = 1u << 4;

// Folds one event into the input state (what input_poll does per event).
void input_handle_event(const SDL_Event& event);
// A key going down or up (an SDLKey value with SDLMod modifiers) as SDL
// delivers it: what the replay driver and the browser page push for a key.
SDL_Event input_key_event(int symbol, bool down, int modifiers = 0);
// While a demo plays in the window the held bits are the demo's: the player's
// keys and joystick no longer reach them, nor does losing the window's focus;
// the quit keys, the window close, mute, the screenshot key and the
// fullscreen keys still work.
void input_play_demo(bool on);
// The one way a demo's or script's pass reaches the game, in the window and
// headless alike: the held bits from the next poll on, the presses of the
// keys it newly holds, and a quit it asks for there (a window close, or the
// quit key going down).
void input_demo_hold(uint32_t bits, uint32_t presses, bool quit, bool closed);
