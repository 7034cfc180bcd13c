// ZUBA-TRILO: start video, input and sound, run the screen sequence until the
// player quits, then shut down.
#include <SDL.h>

#include <cstdlib>

#include "app/screens.h"
#include "input/input.h"

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    if (app_startup() != 0) std::exit(-1);
    while (!input.quit_requested) screen_pass();
    app_shutdown();
    return 0;
}
