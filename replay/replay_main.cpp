// zuba-trilo-replay SCRIPT [--trace FILE] [--trace-every N] [--dump PASS:FILE.ppm ...] [--summary] [--timedemo]
// Plays the game headless from a script of held keys and writes a state trace.
#include "platform/platform.h"
#include "replay/replay_program.h"

int main(int argc, char** argv) {
    platform_attach_console();
    return replay_main(argc, argv);
}
