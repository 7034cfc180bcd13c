// The cost of one mixer pass (2000 samples, a quarter second of sound) with
// no voice, one voice and all four voices playing. Runs without an audio
// device: the pass is the same work the audio thread triggers every 250 ms.
#include <benchmark/benchmark.h>

#include "audio/mixer.h"
#include "audio/sounds.h"

namespace {

// The four voices as in a busy game: shot, invader hit, a march note and the
// saucer's hum. Each pass starts them again from their first sample, so that
// none runs out during the measurement.
constexpr int BUSY_SOUNDS[VOICE_COUNT] = {SOUND_SHOT, SOUND_INVADER_HIT, SOUND_MARCH_1, SOUND_SAUCER};

void start_voices(int count) {
    for (int v = 0; v < VOICE_COUNT; ++v) {
        Voice& voice = mixer.voices[v];
        voice.samples = sound_block(BUSY_SOUNDS[v]);
        voice.length = sound_play_length(BUSY_SOUNDS[v]);
        voice.remaining = v < count ? voice.length : 0;
    }
    mixer.played_half = 0;
}

void BM_MixerFill(benchmark::State& state) {
    const int count = int(state.range(0));
    start_voices(count);
    for (auto _ : state) {
        for (int v = 0; v < count; ++v) mixer.voices[v].remaining = mixer.voices[v].length;
        mixer_fill();
        benchmark::DoNotOptimize(mixer.mix_buffer);
    }
    state.SetItemsProcessed(state.iterations() * MIX_BLOCK);
    start_voices(0);
}
BENCHMARK(BM_MixerFill)->Arg(0)->Arg(1)->Arg(4)->ArgName("voices")->Unit(benchmark::kMicrosecond);

}  // namespace
