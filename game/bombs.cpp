// Stand-in bombs.
#include "game/bombs.h"

BombState bomb_state;

void bombs_reset() {}
void bombs_release() {}
void bombs_update() {}
