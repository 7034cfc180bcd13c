// Stand-in mixer until sound lands: the game plays silently.
#include "audio/mixer.h"

#include "audio/sounds.h"

Mixer mixer;

int audio_init() { return 1; }
int audio_shutdown() { return 0; }
void voice_start(int, const uint8_t*, int32_t) {}
void voice_stop(int voice) { sound_report_cue(voice, 0); }
void mixer_callback(void*, uint8_t*, int) {}
void mixer_reset() {}
void mixer_fill() {}
