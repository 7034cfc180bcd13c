// Synthetic SDL events for the tests.
#include "replay/replay_events.h"

#include <SDL.h>

#include <cstring>

#include "input/input.h"

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
