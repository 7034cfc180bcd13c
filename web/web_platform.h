// The browser's platform pieces: the canvas as the game's window, a clock
// that never waits (the page's main loop paces the passes), and the audio
// device the page's Web Audio pulls 8000 Hz blocks from.
#pragma once
#include <cstdint>

// Installs the canvas window and the no-wait clock in the presenter.
void web_platform_use();
// The mixer's next block of MIX_BLOCK samples, or nullptr while the device is
// closed or paused. The page calls it whenever its sound queue runs short.
extern "C" const uint8_t* web_audio_block();
