// Input: keyboard and joystick events folded into held-button bits. Word 0 is
// shared by the keyboard and joystick 0; word 1 belongs to joystick 1, which
// the game never reads.
#include "input/input.h"

#include <SDL.h>

InputState input;

namespace {

// An event type is a byte in SDL 1.2 and wider in the browser's SDL.
using EventType = decltype(SDL_Event::type);
constexpr EventType UNUSED_EVENTS[] = {SDL_ACTIVEEVENT,   SDL_MOUSEMOTION,   SDL_MOUSEBUTTONDOWN,
                                       SDL_MOUSEBUTTONUP, SDL_JOYBALLMOTION, SDL_JOYHATMOTION};

// Joystick buttons 0..9 in order.
constexpr uint32_t BUTTON_BITS[10] = {INPUT_C, INPUT_A, INPUT_B, INPUT_D, INPUT_E,
                                      INPUT_F, INPUT_DOWN, INPUT_LEFT, INPUT_UP, INPUT_RIGHT};

uint32_t key_bit(int sym) {
    switch (sym) {
        case SDLK_UP: return INPUT_UP;
        case SDLK_DOWN: return INPUT_DOWN;
        case SDLK_LEFT: return INPUT_LEFT;
        case SDLK_RIGHT: return INPUT_RIGHT;
        case SDLK_z:
        case SDLK_SPACE: return INPUT_A;
        case SDLK_x: return INPUT_B;
        case SDLK_c: return INPUT_C;
        case SDLK_v: return INPUT_D;
        default: return 0;
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
    if (e.which >= MAX_JOYSTICKS || e.button >= 10) return;
    uint32_t bit = BUTTON_BITS[e.button];
    if (down && e.state == SDL_PRESSED) input.buttons[e.which] |= bit;
    if (!down && e.state == SDL_RELEASED) input.buttons[e.which] &= ~bit;
}

void (*toggle_handler)() = nullptr;
bool demo_playing = false;

bool is_toggle_key(const SDL_keysym& key) {
    return key.sym == SDLK_F11 || (key.sym == SDLK_RETURN && (key.mod & KMOD_ALT));
}

}  // namespace

void input_set_toggle_handler(void (*toggle)()) { toggle_handler = toggle; }

void input_init() {
    for (int i = 0; i < MAX_JOYSTICKS; ++i) {
        input.joysticks[i] = nullptr;
        input.buttons[i] = 0;
        input.axes[i] = 0;
    }
    // SDL's event queue is small, and whole stretches of play read no input
    // (the cannon's explosion, the countdowns). Events the game never uses
    // are dropped at the source, so a moving mouse cannot fill the queue and
    // lose a key release or a window close before the next poll.
    for (EventType type : UNUSED_EVENTS) SDL_EventState(type, SDL_IGNORE);
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    int n = SDL_NumJoysticks();
    for (int i = 0; i < n && i < MAX_JOYSTICKS; ++i) input.joysticks[i] = SDL_JoystickOpen(i);
}

void input_handle_event(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN: {
            if (toggle_handler && is_toggle_key(event.key.keysym)) {
                toggle_handler();
                break;
            }
            int sym = event.key.keysym.sym;
            if (!demo_playing) input.buttons[0] |= key_bit(sym);
            if (sym == SDLK_ESCAPE || sym == SDLK_q) input.quit_requested = 1;
            break;
        }
        case SDL_KEYUP:
            if (!demo_playing) input.buttons[0] &= ~key_bit(event.key.keysym.sym);
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
        case SDL_QUIT:
            input.quit_requested = 1;
            input.window_closed = 1;
            break;
        default: break;
    }
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

uint32_t input_held() { return input.buttons[0] | input.axes[0]; }

void input_shutdown() {
    for (int i = 0; i < MAX_JOYSTICKS; ++i) {
        if (input.joysticks[i]) SDL_JoystickClose(input.joysticks[i]);
        input.joysticks[i] = nullptr;
    }
}
