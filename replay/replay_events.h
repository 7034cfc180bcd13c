// Input pushed into SDL's own event queue, as SDL would deliver it: what the
// replay driver and the tests press.
#pragma once
#include <cstdint>

// Input as SDL would deliver it, pushed into SDL's own event queue: a key
// (an SDLKey value with SDLMod modifiers) and a window close.
void replay_push_key(int symbol, bool down, int modifiers = 0);
void replay_push_quit();
// Releases the script keys held in `before` and not in `after`, then presses
// those newly held (replay_script.h's key bits).
void replay_push_key_changes(uint32_t before, uint32_t after);
