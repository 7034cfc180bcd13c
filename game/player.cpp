// Stand-in cannon and shot.
#include "game/player.h"

PlayerShot shot;

void shot_reset() {}
int player_update() { return 0; }
int player_fire(int) { return 0; }
int shot_update() { return 0; }
int missiles_update() { return 0; }
