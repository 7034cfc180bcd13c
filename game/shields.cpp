// Stand-in shields.
#include "game/shields.h"

ShieldBlock shields[SHIELD_BLOCKS];

void shields_layout() {}
int shields_hit_test(int, int) { return 0; }
void shields_destroy_block(int) {}
int shields_count_alive() { return 0; }
