// The four-voice mixer behind SDL's audio callback: 8000 Hz, unsigned 8-bit,
// mono, mixed 2000 samples ahead into a double buffer.
#pragma once
#include <cstdint>

constexpr int VOICE_COUNT = 4;
constexpr int MIX_RATE = 8000;
constexpr int MIX_BLOCK = 2000;
constexpr uint8_t MIX_SILENCE = 128;

constexpr int VOICE_PLAYER = 0;  // shot, cannon destroyed
constexpr int VOICE_HIT = 1;     // invader hit, game-begin tune
constexpr int VOICE_MARCH = 2;   // march notes, start chime, game-over tune
constexpr int VOICE_SAUCER = 3;  // saucer flight, saucer hit

struct Voice {
    const uint8_t* samples;
    int32_t remaining;
    int32_t length;
};

struct Mixer {
    Voice voices[VOICE_COUNT];
    uint8_t mix_buffer[2 * MIX_BLOCK];
    int played_half;
    int device_open;  // the audio device was opened by audio_init
    int muted;        // the device plays silence; the voices go on
    int paused;       // the device is stopped where it was
};

extern Mixer mixer;

// The device the mixer's callback feeds; SDL's audio device unless a
// platform puts in its own. open gets the wanted format with the callback
// and returns 0 once the device is open (paused); the callback never runs
// between lock and unlock, nor after close.
struct SDL_AudioSpec;
struct AudioDevice {
    int (*open)(SDL_AudioSpec* wanted);
    void (*pause)(int pause_on);
    void (*lock)();
    void (*unlock)();
    void (*close)();
};
// nullptr puts SDL's own device back. Call before audio_init.
void audio_set_device(const AudioDevice* device);

int audio_init();
// Closes the device and silences every voice.
void audio_shutdown();
// Mute silences only what reaches the device: the voices and the cues go on,
// so sound comes back in step.
void audio_set_muted(bool muted);
// The master volume, from 0 (silent) to AUDIO_VOLUME_MAX (the mix as it is),
// scales only what reaches the device, as mute does; out-of-range levels are
// held to the range.
constexpr int AUDIO_VOLUME_MAX = 10;
void audio_set_volume(int level);
int audio_volume();
// Stops the device where it is (a paused game) and starts it again.
void audio_set_paused(bool paused);
void voice_start(int voice, const uint8_t* samples, int32_t length);
void voice_stop(int voice);
void mixer_callback(void* userdata, uint8_t* stream, int len);
void mixer_reset();
void mixer_fill();
