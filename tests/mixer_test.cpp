// The mixer: what each pass writes into the double buffer and what the
// callback hands to SDL, driven directly; the device only where said.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "platform/platform.h"

namespace {

using Bytes = std::vector<uint8_t>;
Bytes constant(size_t n, uint8_t value) { return Bytes(n, value); }
Bytes slice(const uint8_t* p, size_t from, size_t to) { return Bytes(p + from, p + to); }

class Mixing : public ::testing::Test {
protected:
    void SetUp() override { mixer_reset(); }
    void TearDown() override { mixer_reset(); }
    // The half the next callback hands out (the one mixer_fill prepared).
    static Bytes prepared() { return slice(mixer.mix_buffer + (1 - mixer.played_half) * MIX_BLOCK, 0, MIX_BLOCK); }
    // One callback as SDL makes it; the stream SDL got, with a guard after it.
    static Bytes callback(int len = MIX_BLOCK) {
        Bytes stream(size_t(len) + 100, 0xAA);
        mixer_callback(nullptr, stream.data(), len);
        EXPECT_EQ(slice(stream.data(), size_t(len), stream.size()), constant(100, 0xAA)) << "wrote past " << len;
        stream.resize(size_t(len));
        return stream;
    }
};

TEST_F(Mixing, TheSumOfAllVoicesIsClampedTo0And255) {
    const Bytes loud = constant(MIX_BLOCK, 255), low = constant(MIX_BLOCK, 0);
    const std::pair<const Bytes*, const Bytes*> pairs[] = {{&loud, &loud}, {&low, &low}, {&loud, &low}};
    const uint8_t expected[] = {255, 0, 127};  // 382 clamps, -128 clamps, the clamp is on the sum
    for (int i = 0; i < 3; ++i) {
        voice_start(0, pairs[i].first->data(), MIX_BLOCK);
        voice_start(1, pairs[i].second->data(), MIX_BLOCK);
        mixer_fill();
        EXPECT_EQ(prepared(), constant(MIX_BLOCK, expected[i])) << i;
    }
}

TEST_F(Mixing, StartingOrStoppingABusyVoiceActsFromItsFirstSampleAndLeavesTheOthersPlaying) {
    const uint8_t* tune = sound_block(SOUND_GAME_BEGIN);
    const uint8_t* hit = sound_block(SOUND_INVADER_HIT);
    voice_start(VOICE_HIT, tune, 17480);
    voice_start(VOICE_MARCH, tune, 17480);
    mixer_fill();
    voice_start(VOICE_MARCH, hit, 420);
    mixer_fill();
    EXPECT_EQ(mixer.voices[VOICE_HIT].remaining, 17480 - 2 * MIX_BLOCK);
    Bytes out = prepared();
    for (int i = 0; i < MIX_BLOCK; ++i) {
        int expected = int(tune[MIX_BLOCK + i]) + (i < 420 ? int(hit[i]) - MIX_SILENCE : 0);
        ASSERT_EQ(out[size_t(i)], std::clamp(expected, 0, 255)) << "sample " << i;
    }
    voice_stop(VOICE_HIT);
    mixer_fill();
    EXPECT_EQ(prepared(), constant(MIX_BLOCK, MIX_SILENCE));
}

TEST_F(Mixing, CallbacksHandOutHalfOneFirstThenHalfZeroAndWriteExactlyTheLengthAsked) {
    Bytes tone(4 * MIX_BLOCK);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = uint8_t(1 + i % 250);
    voice_start(0, tone.data(), int32_t(tone.size()));
    EXPECT_EQ(callback(), constant(MIX_BLOCK, MIX_SILENCE));  // prepared before the start
    EXPECT_EQ(mixer.played_half, 1);
    EXPECT_EQ(callback(1500), slice(tone.data(), 0, 1500));
    EXPECT_EQ(mixer.played_half, 0);
    Bytes wide = callback(2048);  // the whole half, then silence
    EXPECT_EQ(slice(wide.data(), 0, MIX_BLOCK), slice(tone.data(), MIX_BLOCK, 2 * MIX_BLOCK));
    EXPECT_EQ(slice(wide.data(), MIX_BLOCK, 2048), constant(48, MIX_SILENCE));
}

TEST_F(Mixing, MuteSilencesOnlyTheStreamWhileTheVoicesGoOnSoUnmutingIsInStep) {
    const Bytes tone = constant(3 * MIX_BLOCK, 200);
    voice_start(0, tone.data(), int32_t(tone.size()));
    callback();  // the block mixed before the start
    audio_set_muted(true);
    EXPECT_EQ(callback(), constant(MIX_BLOCK, MIX_SILENCE));
    EXPECT_EQ(callback(100), constant(100, MIX_SILENCE)) << "a short stream too";
    audio_set_muted(false);
    // Two blocks went by muted: the third and last plays now, then silence.
    EXPECT_EQ(mixer.voices[0].remaining, 0);
    EXPECT_EQ(callback(), constant(MIX_BLOCK, 200));
}

TEST_F(Mixing, TheMasterVolumeScalesTheWaveAboutSilenceAndLeavesTheMixAlone) {
    Bytes tone(3 * MIX_BLOCK);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = uint8_t(i % 2 ? 228 : 28);  // 100 either side
    voice_start(0, tone.data(), int32_t(tone.size()));
    callback();
    audio_set_volume(3);
    const Bytes quiet = callback();
    EXPECT_EQ(quiet[0], 128 - 30);
    EXPECT_EQ(quiet[1], 128 + 30);
    audio_set_volume(0);
    EXPECT_EQ(callback(), constant(MIX_BLOCK, MIX_SILENCE));
    audio_set_volume(AUDIO_VOLUME_MAX);
    EXPECT_EQ(callback(), slice(tone.data(), 2 * MIX_BLOCK, 3 * MIX_BLOCK)) << "the mix itself was never scaled";
    audio_set_volume(99);
    EXPECT_EQ(audio_volume(), AUDIO_VOLUME_MAX) << "held to the range";
    audio_set_volume(-4);
    EXPECT_EQ(audio_volume(), 0);
    audio_set_volume(AUDIO_VOLUME_MAX);
}

TEST(AudioDevice, OpensSilentWithTheCatalogueFilledAndShutsDownWithEveryVoiceSilenced) {
    platform_set_env("SDL_AUDIODRIVER", "dummy", true);
    for (int id = 1; id <= SOUND_COUNT; ++id) sound_catalogue[id].samples = nullptr;
    ASSERT_EQ(audio_init(), 0);
    EXPECT_EQ(mixer.device_open, 1);
    for (int id = 1; id <= SOUND_COUNT; ++id) EXPECT_EQ(sound_catalogue[id].samples, sound_block(id)) << id;
    SDL_LockAudio();
    Bytes both = slice(mixer.mix_buffer, 0, 2 * MIX_BLOCK);
    SDL_UnlockAudio();
    EXPECT_EQ(both, constant(2 * MIX_BLOCK, MIX_SILENCE));
    sound_play(VOICE_MARCH, SOUND_START);
    audio_shutdown();
    EXPECT_EQ(mixer.device_open, 0);
    for (const Voice& v : mixer.voices) EXPECT_LE(v.remaining, 0);
    SDL_Quit();
}

}  // namespace
