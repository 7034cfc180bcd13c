// Stand-in formation.
#include "game/formation.h"

Formation formation;

void formation_layout() {}
int formation_step() { return 0; }
int formation_count_live() { return 0; }
int formation_hit_test(int, int) { return 0; }
void formation_edge_test() {}
void formation_march_note() {}
