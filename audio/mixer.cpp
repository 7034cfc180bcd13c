// The mixer: four voices of unsigned 8-bit samples mixed into a double buffer
// of two 250 ms halves. SDL's audio thread takes one half per callback and the
// mixer then prepares the other; the game thread only starts and stops voices,
// each change inside one lock / unlock pair of the audio device (SDL's own,
// or another platform's behind audio_set_device).
#include "audio/mixer.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "audio/sounds.h"

Mixer mixer;

namespace {

// The "dummy" audio driver (SDL 2.26 under the 1.2 compatibility layer, as
// used by the headless tests and the replay driver) writes past its own buffer
// unless the buffer holds a power of two of samples. That driver gets 2048;
// the callback then pads each block with 48 samples of silence.
constexpr int DUMMY_DRIVER_SAMPLES = 2048;

bool valid_voice(int voice) { return voice >= 0 && voice < VOICE_COUNT; }

uint8_t* half_start(int half) { return mixer.mix_buffer + (half == 0 ? 0 : MIX_BLOCK); }

// The audio device's buffer size: MIX_BLOCK, except for the dummy driver.
uint16_t device_samples() {
    char name[32] = {};
    if (SDL_AudioDriverName(name, sizeof name) && std::strcmp(name, "dummy") == 0)
        return DUMMY_DRIVER_SAMPLES;
    return MIX_BLOCK;
}

// SDL's own audio device: the callback runs on SDL's audio thread.
int sdl_open(SDL_AudioSpec* spec) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return -1;
    spec->samples = device_samples();
    // No spec for what was obtained: SDL converts to whatever the hardware
    // wants, and the callback always sees this format.
    if (SDL_OpenAudio(spec, nullptr) < 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return -1;
    }
    return 0;
}

void sdl_close() {
    SDL_CloseAudio();  // no callback runs after this
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

const AudioDevice SDL_AUDIO = {sdl_open, SDL_PauseAudio, SDL_LockAudio, SDL_UnlockAudio, sdl_close};
const AudioDevice* device = &SDL_AUDIO;

// One mix pass into the given half.
void mix_into(int half) {
    int32_t sum[MIX_BLOCK] = {};
    bool silent = true;
    for (Voice& v : mixer.voices) {
        // A voice without samples can only come from a damaged sound file.
        if (v.remaining <= 0 || !v.samples) continue;
        silent = false;
        for (int i = 0; i < MIX_BLOCK; ++i) {
            sum[i] += int32_t(v.samples[v.length - v.remaining]) - MIX_SILENCE;
            v.remaining -= 1;
            if (v.remaining <= 0) break;  // every sound plays once
        }
    }
    uint8_t* out = half_start(half);
    if (silent) {
        std::memset(out, MIX_SILENCE, MIX_BLOCK);
        return;
    }
    // The clamp applies to the sum of the voices, never to one voice.
    for (int i = 0; i < MIX_BLOCK; ++i) {
        int32_t s = sum[i] + MIX_SILENCE;
        out[i] = uint8_t(s < 0 ? 0 : s > 255 ? 255 : s);
    }
}

}  // namespace

void audio_set_device(const AudioDevice* d) { device = d ? d : &SDL_AUDIO; }

int audio_init() {
    // Sound is optional: any failure here leaves the game playing silently.
    SDL_AudioSpec spec;
    std::memset(&spec, 0, sizeof spec);
    spec.freq = MIX_RATE;
    spec.format = AUDIO_U8;
    spec.channels = 1;
    spec.samples = MIX_BLOCK;
    spec.callback = mixer_callback;
    spec.userdata = nullptr;
    if (device->open(&spec) != 0) return 1;
    mixer.device_open = 1;
    mixer_reset();
    sound_catalogue_fill();
    return 0;
}

void mixer_reset() {
    // The device is still paused, but the pause alone does not order these
    // writes before the audio thread's first callback; the audio lock, which
    // every callback runs under, does.
    device->lock();
    for (Voice& v : mixer.voices) v.remaining = 0;
    mix_into(0);
    mixer.played_half = 0;
    mixer_fill();
    device->unlock();
    device->pause(0);
}

namespace {

// Read by the audio callback, set under the device's lock.
int master_volume = AUDIO_VOLUME_MAX;

// Each sample's distance from silence, scaled by the master volume.
void scale_to_volume(uint8_t* stream, int len) {
    for (int i = 0; i < len; ++i) {
        const int wave = int(stream[i]) - MIX_SILENCE;
        stream[i] = uint8_t(MIX_SILENCE + wave * master_volume / AUDIO_VOLUME_MAX);
    }
}

}  // namespace

void mixer_fill() { mix_into(1 - mixer.played_half); }

void mixer_callback(void* userdata, uint8_t* stream, int len) {
    (void)userdata;
    mixer.played_half = 1 - mixer.played_half;
    // The bytes are copied rather than mixed onto the stream, so what SDL
    // plays does not depend on what the stream held before. SDL asks for
    // MIX_BLOCK bytes; should it ask for another length, only that many are
    // written: a short stream gets the start of the half, a long one the whole
    // half and then silence.
    if (stream && len > 0) {
        const uint8_t* half = half_start(mixer.played_half);
        if (len <= MIX_BLOCK) {
            std::memcpy(stream, half, size_t(len));
        } else {
            std::memcpy(stream, half, MIX_BLOCK);
            std::memset(stream + MIX_BLOCK, MIX_SILENCE, size_t(len - MIX_BLOCK));
        }
        if (mixer.muted) std::memset(stream, MIX_SILENCE, size_t(len));
        else if (master_volume < AUDIO_VOLUME_MAX) scale_to_volume(stream, len);
    }
    mixer_fill();
}

void audio_set_volume(int level) {
    device->lock();
    master_volume = std::clamp(level, 0, AUDIO_VOLUME_MAX);
    device->unlock();
}

int audio_volume() { return master_volume; }

void audio_set_muted(bool muted) {
    device->lock();
    mixer.muted = muted ? 1 : 0;
    device->unlock();
}

void audio_set_paused(bool paused) {
    mixer.paused = paused ? 1 : 0;
    if (mixer.device_open) device->pause(paused ? 1 : 0);
}

void voice_start(int voice, const uint8_t* samples, int32_t length) {
    if (!valid_voice(voice)) return;
    device->lock();
    Voice& v = mixer.voices[voice];
    v.length = length;
    v.remaining = length;
    v.samples = samples;
    device->unlock();
}

void voice_stop(int voice) {
    if (!valid_voice(voice)) return;
    device->lock();
    mixer.voices[voice].remaining = 0;
    device->unlock();
    sound_report_cue(voice, 0);
}

void audio_shutdown() {
    if (mixer.device_open) {
        device->close();  // no callback runs after this
        mixer.device_open = 0;
    }
    for (Voice& v : mixer.voices) v.remaining = 0;
}
