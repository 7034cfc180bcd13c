// Input: keyboard and joystick events folded into held-button bits. Word 0 is
// shared by the keyboard and joystick 0; word 1 belongs to joystick 1, which
// the game never reads. Keys act through the binding table; the joystick
// buttons through the game's own button table, plus what the player added.
#include "input/input.h"

#include <SDL.h>

#include <cctype>
#include <initializer_list>

InputState input;
namespace {

// An event type is a byte in SDL 1.2 and wider in the browser's SDL.
using EventType = decltype(SDL_Event::type);
constexpr EventType UNUSED_EVENTS[] = {SDL_MOUSEMOTION, SDL_MOUSEBUTTONUP, SDL_MOUSEBUTTONDOWN, SDL_JOYBALLMOTION,
                                       SDL_JOYHATMOTION};

// SDL 1.2 numbers its keys below 512 (the browser's SDL numbers them
// otherwise, and never reads a settings file).
constexpr int KEY_SYMBOL_END = int(SDLK_LAST) < 512 ? int(SDLK_LAST) : 512;

// Joystick buttons 0..9 in order.
constexpr uint32_t BUTTON_BITS[JOYSTICK_BUTTONS] = {INPUT_C,    INPUT_A,    INPUT_B,  INPUT_D, INPUT_E,
                                                    INPUT_F,    INPUT_DOWN, INPUT_LEFT, INPUT_UP, INPUT_RIGHT};

// The held bit of each action that has one, or the press it makes.
constexpr uint32_t ACTION_BITS[ACTION_COUNT] = {INPUT_UP, INPUT_DOWN, INPUT_LEFT, INPUT_RIGHT, INPUT_A, INPUT_B,
                                                INPUT_C,  INPUT_D,    0,          0,           0,       0, 0};
constexpr uint32_t ACTION_PRESSES[ACTION_COUNT] = {0, 0, 0, 0, PRESS_FIRE, 0, 0, 0, PRESS_PAUSE, PRESS_MUTE, 0, 0,
                                                   PRESS_SCREENSHOT};

bool demo_playing = false;

bool bound(InputAction action, int sym) {
    const KeyBinding& b = input_bindings.actions[action];
    for (int i = 0; i < b.count && i < BINDING_MAX_KEYS; ++i) {
        if (b.keys[i] == sym) return true;
    }
    return false;
}

uint32_t held_bits_of_key(int sym) {
    uint32_t bits = 0;
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (bound(InputAction(a), sym)) bits |= ACTION_BITS[a];
    }
    return bits;
}

void handle_key_down(int sym) {
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (!bound(InputAction(a), sym)) continue;
        // A demo plays for itself: the player's keys only quit, mute and
        // take a screenshot (F11 and Alt+Enter switch fullscreen as ever).
        if (demo_playing && a != ACTION_QUIT && a != ACTION_MUTE && a != ACTION_SCREENSHOT) continue;
        input.buttons[0] |= ACTION_BITS[a];
        input.presses |= ACTION_PRESSES[a];
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
    uint32_t bit = BUTTON_BITS[e.button];
    uint32_t presses = 0;
    // The player's extra buttons count on the joystick that plays.
    if (e.which == 0) {
        const uint32_t mask = 1u << e.button;
        if (input_bindings.pad_fire & mask) bit |= INPUT_A;
        if (input_bindings.pad_pause & mask) presses |= PRESS_PAUSE;
        if (bit & INPUT_A) presses |= PRESS_FIRE;
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

bool is_toggle_key(const SDL_keysym& key) {
    return bound(ACTION_FULLSCREEN, key.sym) || (key.sym == SDLK_RETURN && (key.mod & KMOD_ALT));
}

constexpr KeyBinding keys(std::initializer_list<int> list) {
    KeyBinding k{};
    for (int key : list) k.keys[k.count++] = key;
    return k;
}

constexpr InputBindings default_bindings() {
    InputBindings b{};
    b.actions[ACTION_UP] = keys({SDLK_UP});
    b.actions[ACTION_DOWN] = keys({SDLK_DOWN});
    b.actions[ACTION_LEFT] = keys({SDLK_LEFT});
    b.actions[ACTION_RIGHT] = keys({SDLK_RIGHT});
    b.actions[ACTION_FIRE] = keys({SDLK_z, SDLK_SPACE});
    b.actions[ACTION_B] = keys({SDLK_x});
    b.actions[ACTION_C] = keys({SDLK_c});
    b.actions[ACTION_D] = keys({SDLK_v});
    b.actions[ACTION_PAUSE] = keys({SDLK_p, SDLK_PAUSE});
    b.actions[ACTION_MUTE] = keys({SDLK_m});
    b.actions[ACTION_QUIT] = keys({SDLK_ESCAPE, SDLK_q});
    b.actions[ACTION_FULLSCREEN] = keys({SDLK_F11});
    b.actions[ACTION_SCREENSHOT] = keys({SDLK_F12});
    return b;
}

}  // namespace

// Constant-initialised: the settings may change it before input starts.
InputBindings input_bindings = default_bindings();

void input_bindings_default(InputBindings& bindings) { bindings = default_bindings(); }

int input_key_by_name(const char* name) {
    if (!name || !*name) return -1;
    for (int sym = 1; sym < KEY_SYMBOL_END; ++sym) {
        const char* known = SDL_GetKeyName(SDLKey(sym));
        if (!known) continue;
        const char* a = known;
        const char* b = name;
        while (*a && *b && std::tolower(static_cast<unsigned char>(*a)) == std::tolower(static_cast<unsigned char>(*b))) {
            ++a;
            ++b;
        }
        if (!*a && !*b) return sym;
    }
    return -1;
}

void input_set_toggle_handler(void (*toggle)()) { toggle_handler = toggle; }

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
            if (!demo_playing) handle_axis(event.jaxis);
            break;
        case SDL_JOYBUTTONDOWN:
            if (!demo_playing) handle_button(event.jbutton, true);
            break;
        case SDL_JOYBUTTONUP:
            if (!demo_playing) handle_button(event.jbutton, false);
            break;
        case SDL_ACTIVEEVENT:
            if (!demo_playing) handle_active(event.active);
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

void input_play_demo(bool on) { demo_playing = on; }

void input_demo_hold(uint32_t bits, bool quit) {
    input.buttons[0] = bits;
    input.axes[0] = 0;
    input.held_back = 0;
    if (quit) input.quit_pending = 1;
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
