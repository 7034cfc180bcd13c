// Input pushed into SDL's own event queue, as SDL would deliver it: what the
// tests press.
#pragma once
#include <cstdint>

// Input as SDL would deliver it, pushed into SDL's own event queue: a key
// (an SDLKey value with SDLMod modifiers) and a window close.
void replay_push_key(int symbol, bool down, int modifiers = 0);
void replay_push_quit();
