// Synthetic SDL events for the replay driver and the tests.
#include "replay/replay_events.h"

#include <SDL.h>

#include <cstring>

#include "input/input.h"
#include "replay/replay_script.h"

void replay_push_key(int symbol, bool down, int modifiers) {
    SDL_Event e = input_key_event(symbol, down, modifiers);
    SDL_PushEvent(&e);
}

void replay_push_quit() {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void replay_push_key_changes(uint32_t before, uint32_t after) {
    for (int k = 0; k < REPLAY_KEY_COUNT; ++k) {
        uint32_t bit = 1u << k;
        if ((before & bit) && !(after & bit)) replay_push_key(replay_key_symbol(k), false);
    }
    for (int k = 0; k < REPLAY_KEY_COUNT; ++k) {
        uint32_t bit = 1u << k;
        if (!(before & bit) && (after & bit)) replay_push_key(replay_key_symbol(k), true);
    }
}
