// Input: keyboard and joystick events folded into held-button bits. Word 0 is
// shared by the keyboard and joystick 0; word 1 belongs to joystick 1, which
// the game never reads. Keys act through the binding table; the joystick
// buttons through the game's own button table, plus what the player added.
#include "input/input.h"

#include <SDL.h>

#include <cctype>
#include <cstring>

#include "input/actions.h"

InputState input;
namespace {

// An event type is a byte in SDL 1.2 and wider in the browser's SDL.
using EventType = decltype(SDL_Event::type);
constexpr EventType UNUSED_EVENTS[] = {SDL_MOUSEMOTION, SDL_MOUSEBUTTONUP, SDL_MOUSEBUTTONDOWN, SDL_JOYBALLMOTION,
                                       SDL_JOYHATMOTION};

// What each joystick button (0..9) holds and presses, from the action rows.
struct ButtonRow {
    uint32_t held;
    uint32_t press;
};
constexpr ButtonRow button_row(int button) {
    ButtonRow b{0, 0};
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (!(a.pad_buttons & (1u << button))) continue;
        b.held |= a.held;
        b.press |= a.press;
    }
    return b;
}
constexpr ButtonRow BUTTONS[JOYSTICK_BUTTONS] = {button_row(0), button_row(1), button_row(2), button_row(3),
                                                 button_row(4), button_row(5), button_row(6), button_row(7),
                                                 button_row(8), button_row(9)};

bool demo_playing = false;

bool bound(InputAction action, int sym) {
    if (input_kept_key_action(sym) == action) return true;
    const KeyBinding& b = input_bindings.actions[action];
    for (int i = 0; i < b.count && i < BINDING_MAX_KEYS; ++i) {
        if (b.keys[i] == sym) return true;
    }
    return false;
}

uint32_t held_bits_of_key(int sym) {
    uint32_t bits = 0;
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (bound(InputAction(a), sym)) bits |= INPUT_ACTIONS[a].held;
    }
    return bits;
}

void handle_key_down(int sym) {
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (!bound(InputAction(a), sym)) continue;
        // A demo plays for itself: the player's keys only quit, mute and
        // take a screenshot (F11 and Alt+Enter switch fullscreen as ever).
        if (demo_playing && a != ACTION_QUIT && a != ACTION_MUTE && a != ACTION_SCREENSHOT) continue;
        input.buttons[0] |= INPUT_ACTIONS[a].held;
        input.presses |= INPUT_ACTIONS[a].press;
        if (a == ACTION_QUIT) input.quit_requested = 1;
    }
}

void handle_axis(const SDL_JoyAxisEvent& e) {
    if (e.which >= MAX_JOYSTICKS) return;
    uint32_t& word = input.axes[e.which];
    uint32_t minus, plus;
    if (e.axis == 0) {
        minus = INPUT_LEFT;
        plus = INPUT_RIGHT;
    } else if (e.axis == 1) {
        minus = INPUT_UP;
        plus = INPUT_DOWN;
    } else {
        return;
    }
    // Each axis event restates its own pair of bits; the thresholds are strict.
    word &= ~(minus | plus);
    if (e.value < -AXIS_THRESHOLD) word |= minus;
    else if (e.value > AXIS_THRESHOLD) word |= plus;
}

void handle_button(const SDL_JoyButtonEvent& e, bool down) {
    if (e.which >= MAX_JOYSTICKS || e.button >= JOYSTICK_BUTTONS) return;
    uint32_t bit = BUTTONS[e.button].held;
    uint32_t presses = 0;
    // Presses and the player's extra buttons count on the joystick that plays.
    if (e.which == 0) {
        const uint32_t mask = 1u << e.button;
        presses = BUTTONS[e.button].press;
        if (input_bindings.pad_fire & mask) {
            bit |= INPUT_ACTIONS[ACTION_FIRE].held;
            presses |= INPUT_ACTIONS[ACTION_FIRE].press;
        }
        if (input_bindings.pad_pause & mask) presses |= INPUT_ACTIONS[ACTION_PAUSE].press;
        if (input_bindings.pad_options & mask) presses |= INPUT_ACTIONS[ACTION_OPTIONS].press;
    }
    if (down && e.state == SDL_PRESSED) {
        input.buttons[e.which] |= bit;
        input.presses |= presses;
    }
    if (!down && e.state == SDL_RELEASED) input.buttons[e.which] &= ~bit;
}

// Only losing the keyboard or the whole window counts; the pointer leaving
// the window does not.
void handle_active(const SDL_ActiveEvent& e) {
    if (e.gain || !(e.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE))) return;
    input_release_all();
    input.presses |= PRESS_FOCUS_LOST;
}

void (*toggle_handler)() = nullptr;
bool (*menu_handler)(const InputMenuEvent& event) = nullptr;

// The stick's directions newly pushed by an axis event go to the menu.
void tell_menu_stick(uint32_t before) {
    const uint32_t pushed = input.axes[0] & ~before;
    constexpr InputAction DIRECTIONS[] = {ACTION_UP, ACTION_DOWN, ACTION_LEFT, ACTION_RIGHT};
    for (InputAction d : DIRECTIONS) {
        if (pushed & INPUT_ACTIONS[d].held) menu_handler(InputMenuEvent{MENU_STICK, d, false});
    }
}
void (*repaint_handler)() = nullptr;
void (*resize_handler)(int width, int height) = nullptr;

// A key bound to quit as well quits: whatever the settings say, the player
// can always quit.
bool is_toggle_key(const SDL_keysym& key) {
    if (key.sym == SDLK_RETURN && (key.mod & KMOD_ALT)) return true;
    return bound(ACTION_FULLSCREEN, key.sym) && !bound(ACTION_QUIT, key.sym);
}

constexpr InputBindings default_bindings() {
    InputBindings b{};
    for (const InputActionRow& a : INPUT_ACTIONS) b.actions[a.action] = a.keys;
    b.pad_options = PAD_OPTIONS_DEFAULT;
    return b;
}

}  // namespace

// The keypad's keys, which the browser's SDL names otherwise.
#ifdef __EMSCRIPTEN__
#define KEYPAD(name) SDLK_KP_##name
#define KEYPAD_DIGIT(n) SDLK_KP_##n
#else
#define KEYPAD(name) SDLK_KP_##name
#define KEYPAD_DIGIT(n) SDLK_KP##n
#endif

const InputKeyName INPUT_KEY_NAMES[] = {
    {"a", SDLK_a, false}, {"b", SDLK_b, false}, {"c", SDLK_c, false}, {"d", SDLK_d, false},
    {"e", SDLK_e, false}, {"f", SDLK_f, false}, {"g", SDLK_g, false}, {"h", SDLK_h, false},
    {"i", SDLK_i, false}, {"j", SDLK_j, false}, {"k", SDLK_k, false}, {"l", SDLK_l, false},
    {"m", SDLK_m, false}, {"n", SDLK_n, false}, {"o", SDLK_o, false}, {"p", SDLK_p, false},
    {"q", SDLK_q, false}, {"r", SDLK_r, false}, {"s", SDLK_s, false}, {"t", SDLK_t, false},
    {"u", SDLK_u, false}, {"v", SDLK_v, false}, {"w", SDLK_w, false}, {"x", SDLK_x, false},
    {"y", SDLK_y, false}, {"z", SDLK_z, false},
    {"0", SDLK_0, false}, {"1", SDLK_1, false}, {"2", SDLK_2, false}, {"3", SDLK_3, false},
    {"4", SDLK_4, false}, {"5", SDLK_5, false}, {"6", SDLK_6, false}, {"7", SDLK_7, false},
    {"8", SDLK_8, false}, {"9", SDLK_9, false},
    {"f1", SDLK_F1, false}, {"f2", SDLK_F2, false}, {"f3", SDLK_F3, false}, {"f4", SDLK_F4, false},
    {"f5", SDLK_F5, false}, {"f6", SDLK_F6, false}, {"f7", SDLK_F7, false}, {"f8", SDLK_F8, false},
    {"f9", SDLK_F9, false}, {"f10", SDLK_F10, false}, {"f11", SDLK_F11, false}, {"f12", SDLK_F12, false},
    {"f13", SDLK_F13, false}, {"f14", SDLK_F14, false}, {"f15", SDLK_F15, false},
    {"keypad 0", KEYPAD_DIGIT(0), false}, {"keypad 1", KEYPAD_DIGIT(1), false},
    {"keypad 2", KEYPAD_DIGIT(2), false}, {"keypad 3", KEYPAD_DIGIT(3), false},
    {"keypad 4", KEYPAD_DIGIT(4), false}, {"keypad 5", KEYPAD_DIGIT(5), false},
    {"keypad 6", KEYPAD_DIGIT(6), false}, {"keypad 7", KEYPAD_DIGIT(7), false},
    {"keypad 8", KEYPAD_DIGIT(8), false}, {"keypad 9", KEYPAD_DIGIT(9), false},
    {"keypad .", KEYPAD(PERIOD), false}, {"keypad /", KEYPAD(DIVIDE), false},
    {"keypad *", KEYPAD(MULTIPLY), false}, {"keypad -", KEYPAD(MINUS), false},
    {"keypad +", KEYPAD(PLUS), false}, {"keypad enter", KEYPAD(ENTER), false},
    {"keypad =", KEYPAD(EQUALS), false},
    {"up", SDLK_UP, false}, {"down", SDLK_DOWN, false}, {"left", SDLK_LEFT, false}, {"right", SDLK_RIGHT, false},
    {"space", SDLK_SPACE, false}, {"return", SDLK_RETURN, false}, {"tab", SDLK_TAB, false},
    {"backspace", SDLK_BACKSPACE, false}, {"escape", SDLK_ESCAPE, false}, {"pause", SDLK_PAUSE, false},
    {"insert", SDLK_INSERT, false}, {"delete", SDLK_DELETE, false}, {"home", SDLK_HOME, false},
    {"end", SDLK_END, false}, {"page up", SDLK_PAGEUP, false}, {"page down", SDLK_PAGEDOWN, false},
    {"left shift", SDLK_LSHIFT, false}, {"right shift", SDLK_RSHIFT, false},
    {"left ctrl", SDLK_LCTRL, false}, {"right ctrl", SDLK_RCTRL, false},
    {"left alt", SDLK_LALT, false}, {"right alt", SDLK_RALT, false}, {"caps lock", SDLK_CAPSLOCK, false},
    {"comma", SDLK_COMMA, false}, {"period", SDLK_PERIOD, false}, {"minus", SDLK_MINUS, false},
    {"equals", SDLK_EQUALS, false}, {"slash", SDLK_SLASH, false}, {"backslash", SDLK_BACKSLASH, false},
    {"semicolon", SDLK_SEMICOLON, false}, {"quote", SDLK_QUOTE, false}, {"backquote", SDLK_BACKQUOTE, false},
    {"left bracket", SDLK_LEFTBRACKET, false}, {"right bracket", SDLK_RIGHTBRACKET, false},
    // SDL 1.2's spellings, which a file written before may hold.
    {"[0]", KEYPAD_DIGIT(0), true}, {"[1]", KEYPAD_DIGIT(1), true}, {"[2]", KEYPAD_DIGIT(2), true},
    {"[3]", KEYPAD_DIGIT(3), true}, {"[4]", KEYPAD_DIGIT(4), true}, {"[5]", KEYPAD_DIGIT(5), true},
    {"[6]", KEYPAD_DIGIT(6), true}, {"[7]", KEYPAD_DIGIT(7), true}, {"[8]", KEYPAD_DIGIT(8), true},
    {"[9]", KEYPAD_DIGIT(9), true}, {"[.]", KEYPAD(PERIOD), true}, {"[/]", KEYPAD(DIVIDE), true},
    {"[*]", KEYPAD(MULTIPLY), true}, {"[-]", KEYPAD(MINUS), true}, {"[+]", KEYPAD(PLUS), true},
    {"enter", KEYPAD(ENTER), true}, {".", SDLK_PERIOD, true}, {"-", SDLK_MINUS, true}, {"=", SDLK_EQUALS, true},
    {"/", SDLK_SLASH, true}, {"\\", SDLK_BACKSLASH, true}, {";", SDLK_SEMICOLON, true}, {"'", SDLK_QUOTE, true},
    {"`", SDLK_BACKQUOTE, true}, {"[", SDLK_LEFTBRACKET, true}, {"]", SDLK_RIGHTBRACKET, true},
};
const int INPUT_KEY_NAME_COUNT = int(sizeof INPUT_KEY_NAMES / sizeof INPUT_KEY_NAMES[0]);

#undef KEYPAD
#undef KEYPAD_DIGIT

// Constant-initialised: the settings may change it before input starts.
InputBindings input_bindings = default_bindings();

void input_bindings_default(InputBindings& bindings) { bindings = default_bindings(); }

int input_key_by_name(const char* name) {
    if (!name) return -1;
    for (int i = 0; i < INPUT_KEY_NAME_COUNT; ++i) {
        const char* a = INPUT_KEY_NAMES[i].name;
        const char* b = name;
        while (*a && *b && std::tolower(static_cast<unsigned char>(*a)) == std::tolower(static_cast<unsigned char>(*b))) {
            ++a;
            ++b;
        }
        if (!*a && !*b) return INPUT_KEY_NAMES[i].sym;
    }
    return -1;
}

const char* input_key_name(int sym) {
    for (int i = 0; i < INPUT_KEY_NAME_COUNT; ++i) {
        if (INPUT_KEY_NAMES[i].sym == sym) return INPUT_KEY_NAMES[i].name;
    }
    return "?";
}

int input_kept_key_action(int sym) {
    if (sym == SDLK_F11) return ACTION_FULLSCREEN;
    if (sym == SDLK_F12) return ACTION_SCREENSHOT;
    return -1;
}

void input_set_toggle_handler(void (*toggle)()) { toggle_handler = toggle; }

void input_set_menu(bool (*menu)(const InputMenuEvent& event)) { menu_handler = menu; }

void input_set_repaint_handler(void (*repaint)()) { repaint_handler = repaint; }

void input_set_resize_handler(void (*resize)(int width, int height)) { resize_handler = resize; }

void input_init() {
    for (int i = 0; i < MAX_JOYSTICKS; ++i) {
        input.joysticks[i] = nullptr;
        input.buttons[i] = 0;
        input.axes[i] = 0;
    }
    input.presses = 0;
    input.held_back = 0;
    // SDL's event queue is small, and whole stretches of play read no input
    // (the cannon's explosion, the countdowns). Events the game never uses
    // are dropped at the source, so a moving mouse cannot fill the queue and
    // lose a key release or a window close before the next poll. The window's
    // focus events are kept: losing focus pauses the game.
    for (EventType type : UNUSED_EVENTS) SDL_EventState(type, SDL_IGNORE);
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    int n = SDL_NumJoysticks();
    for (int i = 0; i < n && i < MAX_JOYSTICKS; ++i) input.joysticks[i] = SDL_JoystickOpen(i);
}

void input_handle_event(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            if (menu_handler && menu_handler(InputMenuEvent{MENU_KEY, event.key.keysym.sym,
                                                            (event.key.keysym.mod & KMOD_ALT) != 0}))
                break;
            if (toggle_handler && is_toggle_key(event.key.keysym)) {
                toggle_handler();
                break;
            }
            handle_key_down(event.key.keysym.sym);
            break;
        case SDL_KEYUP:
            if (!demo_playing) input.buttons[0] &= ~held_bits_of_key(event.key.keysym.sym);
            break;
        case SDL_JOYAXISMOTION:
            if (!demo_playing) {
                const uint32_t before = input.axes[0];
                handle_axis(event.jaxis);
                if (menu_handler && event.jaxis.which == 0) tell_menu_stick(before);
            }
            break;
        case SDL_JOYBUTTONDOWN:
            if (menu_handler && event.jbutton.which == 0 && event.jbutton.state == SDL_PRESSED) {
                menu_handler(InputMenuEvent{MENU_PAD_BUTTON, event.jbutton.button, false});
                break;
            }
            if (!demo_playing) handle_button(event.jbutton, true);
            break;
        case SDL_JOYBUTTONUP:
            if (!demo_playing) handle_button(event.jbutton, false);
            break;
        case SDL_ACTIVEEVENT:
            // A window brought back from its icon shows nothing until painted.
            if (repaint_handler && event.active.gain && (event.active.state & SDL_APPACTIVE)) repaint_handler();
            if (!demo_playing) handle_active(event.active);
            break;
        case SDL_VIDEOEXPOSE:
            if (repaint_handler) repaint_handler();
            break;
        case SDL_VIDEORESIZE:
            if (resize_handler) resize_handler(event.resize.w, event.resize.h);
            break;
        case SDL_QUIT:
            input.quit_requested = 1;
            input.window_closed = 1;
            break;
        default: break;
    }
    // A bit held back stays hidden only until it is let go.
    input.held_back &= input.buttons[0] | input.axes[0];
}

void input_poll() {
    input.quit_requested = input.quit_pending;
    input.quit_pending = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event)) input_handle_event(event);
    input.polled = input_held();
    input.polls += 1;
}

SDL_Event input_key_event(int symbol, bool down, int modifiers) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = SDLKey(symbol);
    e.key.keysym.mod = SDLMod(modifiers);
    return e;
}

void input_play_demo(bool on) { demo_playing = on; }

void input_demo_hold(uint32_t bits, uint32_t presses, bool quit, bool closed) {
    input.buttons[0] = bits;
    input.axes[0] = 0;
    // As a key let go would: a fire that resumed a pause stays hidden while held.
    input.held_back &= bits;
    input.presses |= presses;
    if (quit) input.quit_pending = 1;
    if (closed) input.window_closed = 1;
}

void input_pump() {
    int32_t quit = input.quit_requested;
    input.quit_requested = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event)) input_handle_event(event);
    if (input.quit_requested) input.quit_pending = 1;
    input.quit_requested = quit;
}

uint32_t input_held() { return (input.buttons[0] | input.axes[0]) & ~input.held_back; }

uint32_t input_take_presses() {
    const uint32_t presses = input.presses;
    input.presses = 0;
    return presses;
}

void input_release_all() {
    for (int i = 0; i < MAX_JOYSTICKS; ++i) {
        input.buttons[i] = 0;
        input.axes[i] = 0;
    }
    input.held_back = 0;
}

void input_hold_back(uint32_t bits) { input.held_back |= bits & (input.buttons[0] | input.axes[0]); }

void input_open_late_joystick() {
    if (input.joysticks[0] || !SDL_WasInit(SDL_INIT_JOYSTICK) || SDL_NumJoysticks() < 1) return;
    input.joysticks[0] = SDL_JoystickOpen(0);
}

void input_forget_quit() {
    input.quit_requested = 0;
    input.quit_pending = 0;
}

void input_shutdown() {
    for (int i = 0; i < MAX_JOYSTICKS; ++i) {
        if (input.joysticks[i]) SDL_JoystickClose(input.joysticks[i]);
        input.joysticks[i] = nullptr;
    }
}
