// Stand-in sound catalogue until the sounds land.
#include "audio/sounds.h"

#include "audio/mixer.h"

SoundAsset sound_catalogue[SOUND_COUNT + 1];

namespace {
SoundCueHook cue_hook = nullptr;
}

const uint8_t* sound_block(int) { return nullptr; }
uint32_t sound_stored_size(int) { return 0; }
int32_t sound_play_length(int) { return 0; }
void sound_catalogue_fill() {}
void sound_play(int voice, int id) { sound_report_cue(voice, id); }
void sound_set_cue_hook(SoundCueHook hook) { cue_hook = hook; }
void sound_report_cue(int voice, int id) {
    if (cue_hook) cue_hook(voice, id);
}
