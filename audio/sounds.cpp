// The twelve built-in sounds: where each block lies inside its embedded WAV
// file, how much of it is played, and sound_play, the one way a cue starts a
// sound.
#include "audio/sounds.h"

#include "audio/mixer.h"

// The WAV files under assets/embed/, compiled in by the build.
extern const unsigned char embed_sound01_game_over_wav[];
extern const unsigned embed_sound01_game_over_wav_size;
extern const unsigned char embed_sound02_invader_hit_wav[];
extern const unsigned embed_sound02_invader_hit_wav_size;
extern const unsigned char embed_sound03_player_hit_wav[];
extern const unsigned embed_sound03_player_hit_wav_size;
extern const unsigned char embed_sound04_saucer_wav[];
extern const unsigned embed_sound04_saucer_wav_size;
extern const unsigned char embed_sound05_saucer_hit_wav[];
extern const unsigned embed_sound05_saucer_hit_wav_size;
extern const unsigned char embed_sound06_start_wav[];
extern const unsigned embed_sound06_start_wav_size;
extern const unsigned char embed_sound07_shot_wav[];
extern const unsigned embed_sound07_shot_wav_size;
extern const unsigned char embed_sound08_game_begin_wav[];
extern const unsigned embed_sound08_game_begin_wav_size;
extern const unsigned char embed_sound09_march_1_wav[];
extern const unsigned embed_sound09_march_1_wav_size;
extern const unsigned char embed_sound10_march_2_wav[];
extern const unsigned embed_sound10_march_2_wav_size;
extern const unsigned char embed_sound11_march_3_wav[];
extern const unsigned embed_sound11_march_3_wav_size;
extern const unsigned char embed_sound12_march_4_wav[];
extern const unsigned embed_sound12_march_4_wav_size;

// The block sizes are fixed: the cues' play lengths follow from them.
SoundAsset sound_catalogue[SOUND_COUNT + 1] = {
    {nullptr, 0},
    {nullptr, 10071},  // SOUND_GAME_OVER
    {nullptr, 472},    // SOUND_INVADER_HIT
    {nullptr, 4008},   // SOUND_PLAYER_HIT
    {nullptr, 2784},   // SOUND_SAUCER
    {nullptr, 2418},   // SOUND_SAUCER_HIT
    {nullptr, 2690},   // SOUND_START
    {nullptr, 842},    // SOUND_SHOT
    {nullptr, 17532},  // SOUND_GAME_BEGIN
    {nullptr, 1048},   // SOUND_MARCH_1
    {nullptr, 906},    // SOUND_MARCH_2
    {nullptr, 1008},   // SOUND_MARCH_3
    {nullptr, 962},    // SOUND_MARCH_4
};

namespace {

struct EmbeddedFile {
    const unsigned char* bytes;
    const unsigned* size;
};

const EmbeddedFile SOUND_FILES[SOUND_COUNT + 1] = {
    {nullptr, nullptr},
    {embed_sound01_game_over_wav, &embed_sound01_game_over_wav_size},
    {embed_sound02_invader_hit_wav, &embed_sound02_invader_hit_wav_size},
    {embed_sound03_player_hit_wav, &embed_sound03_player_hit_wav_size},
    {embed_sound04_saucer_wav, &embed_sound04_saucer_wav_size},
    {embed_sound05_saucer_hit_wav, &embed_sound05_saucer_hit_wav_size},
    {embed_sound06_start_wav, &embed_sound06_start_wav_size},
    {embed_sound07_shot_wav, &embed_sound07_shot_wav_size},
    {embed_sound08_game_begin_wav, &embed_sound08_game_begin_wav_size},
    {embed_sound09_march_1_wav, &embed_sound09_march_1_wav_size},
    {embed_sound10_march_2_wav, &embed_sound10_march_2_wav_size},
    {embed_sound11_march_3_wav, &embed_sound11_march_3_wav_size},
    {embed_sound12_march_4_wav, &embed_sound12_march_4_wav_size},
};

SoundCueHook cue_hook = nullptr;

bool valid_id(int id) { return id >= 1 && id <= SOUND_COUNT; }

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

bool tag_is(const uint8_t* p, const char* tag) {
    return p[0] == uint8_t(tag[0]) && p[1] == uint8_t(tag[1]) && p[2] == uint8_t(tag[2]) &&
           p[3] == uint8_t(tag[3]);
}

}  // namespace

const uint8_t* sound_wav_block(const uint8_t* file, uint32_t file_size, uint32_t block_size) {
    if (!file || file_size < 12 || !tag_is(file, "RIFF") || !tag_is(file + 8, "WAVE")) return nullptr;
    // Chunk positions are 64-bit so a damaged size field cannot wrap around.
    uint64_t end = 8 + uint64_t(le32(file + 4));
    if (end > file_size) end = file_size;
    uint64_t pos = 12;
    bool format_ok = false;
    while (pos + 8 <= end) {
        const uint8_t* head = file + pos;
        uint64_t body = pos + 8;
        uint64_t length = le32(head + 4);
        if (length > end - body) return nullptr;  // cut short
        if (tag_is(head, "fmt ") && length >= 16) {
            const uint8_t* f = file + body;
            format_ok = le16(f) == 1 && le16(f + 2) == 1 && le32(f + 4) == uint32_t(MIX_RATE) &&
                        le16(f + 14) == 8;
        } else if (tag_is(head, "data")) {
            return format_ok && length == block_size ? file + body : nullptr;
        }
        pos = body + length + (length & 1);  // chunks are padded to even sizes
    }
    return nullptr;
}

const uint8_t* sound_block(int id) {
    if (!valid_id(id)) return nullptr;
    return sound_wav_block(SOUND_FILES[id].bytes, *SOUND_FILES[id].size, sound_catalogue[id].stored_size);
}

uint32_t sound_stored_size(int id) { return valid_id(id) ? sound_catalogue[id].stored_size : 0; }

int32_t sound_play_length(int id) {
    uint32_t stored = sound_stored_size(id);
    if (stored < SOUND_TAIL) return 0;
    return int32_t((stored - SOUND_TAIL) & ~uint32_t(3));
}

void sound_catalogue_fill() {
    for (int id = 1; id <= SOUND_COUNT; ++id) sound_catalogue[id].samples = sound_block(id);
}

void sound_play(int voice, int id) {
    if (!valid_id(id)) return;
    voice_start(voice, sound_catalogue[id].samples, sound_play_length(id));
    sound_report_cue(voice, id);
}

void sound_set_cue_hook(SoundCueHook hook) { cue_hook = hook; }

void sound_report_cue(int voice, int id) {
    if (cue_hook) cue_hook(voice, id);
}
