// Fuzzes the input folding: any sequence of SDL events (any type, device,
// button, axis, value or key) folded into the input state. Every event is
// checked against the documented mapping: only the ten input bits ever show,
// the stick only sets direction bits, and joystick 1 never reaches word 0,
// the one the game reads.
//
// Input: records of 8 bytes: type, device, button/axis/hat number, state,
// then two little-endian 16-bit values (key symbol or axis value, spare).
#include <SDL.h>

#include <cstring>

#include "fuzz/fuzz_support.h"
#include "input/input.h"

namespace {

constexpr uint32_t ALL_BITS = 0x3FF;
constexpr uint32_t STICK_BITS = INPUT_UP | INPUT_DOWN | INPUT_LEFT | INPUT_RIGHT;
// Joystick buttons 0..9 in order; 10 and above set nothing.
constexpr uint32_t BUTTON_BITS[10] = {INPUT_C, INPUT_A, INPUT_B, INPUT_D, INPUT_E,
                                      INPUT_F, INPUT_DOWN, INPUT_LEFT, INPUT_UP, INPUT_RIGHT};

uint32_t key_bit(int sym) {
    switch (sym) {
        case 273: return INPUT_UP;
        case 274: return INPUT_DOWN;
        case 276: return INPUT_LEFT;
        case 275: return INPUT_RIGHT;
        case 'z':
        case ' ': return INPUT_A;
        case 'x': return INPUT_B;
        case 'c': return INPUT_C;
        case 'v': return INPUT_D;
        default: return 0;
    }
}

// The documented table, written out independently of the game's code.
struct Expected {
    uint32_t buttons[MAX_JOYSTICKS];
    uint32_t axes[MAX_JOYSTICKS];
    int32_t quit;
};

void expect_event(Expected& m, const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
            m.buttons[0] |= key_bit(e.key.keysym.sym);
            if (e.key.keysym.sym == 27 || e.key.keysym.sym == 'q') m.quit = 1;
            break;
        case SDL_KEYUP: m.buttons[0] &= ~key_bit(e.key.keysym.sym); break;
        case SDL_JOYAXISMOTION: {
            if (e.jaxis.which >= MAX_JOYSTICKS || e.jaxis.axis > 1) break;
            uint32_t minus = e.jaxis.axis == 0 ? INPUT_LEFT : INPUT_UP;
            uint32_t plus = e.jaxis.axis == 0 ? INPUT_RIGHT : INPUT_DOWN;
            uint32_t& word = m.axes[e.jaxis.which];
            word &= ~(minus | plus);
            if (e.jaxis.value < -AXIS_THRESHOLD) word |= minus;
            if (e.jaxis.value > AXIS_THRESHOLD) word |= plus;
            break;
        }
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP: {
            const SDL_JoyButtonEvent& b = e.jbutton;
            if (b.which >= MAX_JOYSTICKS || b.button >= 10) break;
            if (e.type == SDL_JOYBUTTONDOWN && b.state == SDL_PRESSED) m.buttons[b.which] |= BUTTON_BITS[b.button];
            if (e.type == SDL_JOYBUTTONUP && b.state == SDL_RELEASED) m.buttons[b.which] &= ~BUTTON_BITS[b.button];
            break;
        }
        case SDL_QUIT: m.quit = 1; break;
        default: break;
    }
}

SDL_Event make_event(ByteReader& in) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    uint8_t type = in.u8(), which = in.u8(), number = in.u8(), state = in.u8();
    uint16_t value = in.u16(), spare = in.u16();
    e.type = type;
    switch (type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            e.key.which = which;
            e.key.state = state;
            e.key.keysym.scancode = number;
            // Any value the key-symbol type can hold (0..511).
            e.key.keysym.sym = SDLKey(value & 0x1FF);
            e.key.keysym.mod = KMOD_NONE;
            e.key.keysym.unicode = spare;
            break;
        case SDL_JOYAXISMOTION:
            e.jaxis.which = which;
            e.jaxis.axis = number;
            e.jaxis.value = int16_t(value);
            break;
        case SDL_JOYBALLMOTION:
            e.jball.which = which;
            e.jball.ball = number;
            e.jball.xrel = int16_t(value);
            e.jball.yrel = int16_t(spare);
            break;
        case SDL_JOYHATMOTION:
            e.jhat.which = which;
            e.jhat.hat = number;
            e.jhat.value = uint8_t(value);
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            e.jbutton.which = which;
            e.jbutton.button = number;
            e.jbutton.state = state;
            break;
        case SDL_MOUSEMOTION:
            e.motion.which = which;
            e.motion.state = state;
            e.motion.x = value;
            e.motion.y = spare;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            e.button.which = which;
            e.button.button = number;
            e.button.state = state;
            e.button.x = value;
            e.button.y = spare;
            break;
        default:
            // Every other type carries no fields the input looks at; give it
            // some bytes anyway.
            std::memcpy(reinterpret_cast<uint8_t*>(&e) + 1, &value, sizeof value);
            break;
    }
    return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in{data, size};
    std::memset(&input, 0, sizeof input);
    Expected m{};
    while (!in.empty()) {
        SDL_Event e = make_event(in);
        uint32_t word0_buttons = input.buttons[0], word0_axes = input.axes[0];
        input_handle_event(e);
        expect_event(m, e);
        for (int j = 0; j < MAX_JOYSTICKS; ++j) {
            FUZZ_CHECK((input.buttons[j] & ~ALL_BITS) == 0, "buttons[%d] = 0x%x", j, input.buttons[j]);
            FUZZ_CHECK((input.axes[j] & ~STICK_BITS) == 0, "axes[%d] = 0x%x", j, input.axes[j]);
            FUZZ_CHECK(input.buttons[j] == m.buttons[j], "event type %d: buttons[%d] 0x%x, table says 0x%x",
                       e.type, j, input.buttons[j], m.buttons[j]);
            FUZZ_CHECK(input.axes[j] == m.axes[j], "event type %d: axes[%d] 0x%x, table says 0x%x", e.type,
                       j, input.axes[j], m.axes[j]);
        }
        FUZZ_CHECK(input.quit_requested == m.quit, "quit_requested %d, expected %d", input.quit_requested, m.quit);
        FUZZ_CHECK(input_held() == (input.buttons[0] | input.axes[0]), "input_held 0x%x", input_held());
        bool joystick1 = (e.type == SDL_JOYAXISMOTION && e.jaxis.which == 1) ||
                         ((e.type == SDL_JOYBUTTONDOWN || e.type == SDL_JOYBUTTONUP) && e.jbutton.which == 1) ||
                         (e.type == SDL_JOYHATMOTION && e.jhat.which == 1) ||
                         (e.type == SDL_JOYBALLMOTION && e.jball.which == 1);
        if (joystick1) {
            FUZZ_CHECK(input.buttons[0] == word0_buttons && input.axes[0] == word0_axes,
                       "joystick 1 changed word 0: buttons 0x%x -> 0x%x, axes 0x%x -> 0x%x", word0_buttons,
                       input.buttons[0], word0_axes, input.axes[0]);
        }
    }
    return 0;
}
