// The twelve built-in sounds and sound_play, the one way the game starts one.
#pragma once
#include <cstdint>

constexpr int SOUND_GAME_OVER = 1;
constexpr int SOUND_INVADER_HIT = 2;
constexpr int SOUND_PLAYER_HIT = 3;
constexpr int SOUND_SAUCER = 4;
constexpr int SOUND_SAUCER_HIT = 5;
constexpr int SOUND_START = 6;
constexpr int SOUND_SHOT = 7;
constexpr int SOUND_GAME_BEGIN = 8;
constexpr int SOUND_MARCH_1 = 9;
constexpr int SOUND_MARCH_2 = 10;
constexpr int SOUND_MARCH_3 = 11;
constexpr int SOUND_MARCH_4 = 12;
constexpr int SOUND_COUNT = 12;
constexpr uint32_t SOUND_TAIL = 52;  // unplayed bytes at the end of each block

struct SoundAsset {
    const uint8_t* samples;  // none until audio_init has opened the device
    uint32_t stored_size;
};

// Indexed by sound id 1..12; entry 0 is unused.
extern SoundAsset sound_catalogue[SOUND_COUNT + 1];

// The embedded blocks themselves, always available (tests read them).
const uint8_t* sound_block(int id);
uint32_t sound_stored_size(int id);
// stored size less the tail, rounded down to a multiple of 4.
int32_t sound_play_length(int id);
// The data chunk of an 8000 Hz, unsigned 8-bit, mono WAV file when it holds
// exactly block_size bytes; none otherwise. Found by walking the RIFF chunks.
const uint8_t* sound_wav_block(const uint8_t* file, uint32_t file_size, uint32_t block_size);

// Points the catalogue at the embedded blocks (done by audio_init).
void sound_catalogue_fill();
void sound_play(int voice, int id);

// Every sound_play (voice, id) and voice_stop (voice, 0) is reported here when
// a hook is set; the replay driver records them in its trace.
using SoundCueHook = void (*)(int voice, int id);
void sound_set_cue_hook(SoundCueHook hook);
void sound_report_cue(int voice, int id);
