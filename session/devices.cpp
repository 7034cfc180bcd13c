// Start-up and shutdown of the devices: video first, since without a screen
// there is no game, sound last, and the reverse on the way out.
#include "session/devices.h"

#include <SDL.h>

#include "audio/mixer.h"
#include "input/input.h"
#include "video/presenter.h"

int devices_start() {
    if (video_init() != 0) return 1;
    input_init();
    audio_init();  // a failure leaves the game silent
    return 0;
}

void devices_shutdown() {
    audio_shutdown();
    input_shutdown();
    video_shutdown();
    SDL_Quit();
}
