// Stand-in saucer.
#include "game/saucer.h"

#include "video/sprites.h"

Saucer saucer;

void saucer_reset() {}
void saucer_update() {}
int saucer_hit_test(int, int) { return 0; }
void draw_saucer_frame(int x, int frame) { draw_saucer_frame_at(x, saucer.y, frame); }
