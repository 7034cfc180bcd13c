// The memory SDL itself needs for the game's window, without the game: start
// video, set the 2500 x 1300 x 32 mode, fill it and update it whole once, then
// print the peak resident memory. The timed demo's peak less this figure is
// the game's own share.
#include <SDL.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

int main() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "sdl_window_baseline: SDL video did not start\n");
        return 1;
    }
    SDL_Surface* screen = SDL_SetVideoMode(2500, 1300, 32, 0);
    if (!screen) {
        std::fprintf(stderr, "sdl_window_baseline: no 2500 x 1300 x 32 mode\n");
        SDL_Quit();
        return 1;
    }
    SDL_FillRect(screen, nullptr, 0xFF808080u);
    SDL_UpdateRect(screen, 0, 0, 0, 0);
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    SDL_Quit();
    return 0;
}
