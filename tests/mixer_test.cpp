// The mixer: what each pass writes into the double buffer, and what the
// callback hands to SDL. Passes and callbacks are driven directly; no device
// is needed except where said.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "audio/mixer.h"
#include "audio/sounds.h"

namespace {

// Starts every test from the state audio_init leaves: voices silent, both
// halves silence, half 0 handed out last.
class Mixing : public ::testing::Test {
protected:
    void SetUp() override { mixer_reset(); }
    void TearDown() override { mixer_reset(); }

    // The half the next callback hands out (the one mixer_fill prepared).
    std::vector<uint8_t> prepared() const {
        const uint8_t* half = mixer.mix_buffer + (1 - mixer.played_half) * MIX_BLOCK;
        return std::vector<uint8_t>(half, half + MIX_BLOCK);
    }
    // One callback, as SDL makes it; returns the bytes SDL got.
    std::vector<uint8_t> callback(int len = MIX_BLOCK) {
        std::vector<uint8_t> stream(size_t(len), 0xAA);
        mixer_callback(nullptr, stream.data(), len);
        return stream;
    }
};

std::vector<uint8_t> constant(size_t n, uint8_t value) { return std::vector<uint8_t>(n, value); }

TEST_F(Mixing, WithNoVoicePlayingEveryByteHandedOutIsSilence) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(callback(), constant(MIX_BLOCK, MIX_SILENCE));
}

TEST_F(Mixing, ASoundAloneIsPlayedAsItsOwnSamplesThenSilence) {
    const uint8_t* hit = sound_block(SOUND_INVADER_HIT);
    ASSERT_NE(hit, nullptr);
    ASSERT_EQ(sound_play_length(SOUND_INVADER_HIT), 420);
    voice_start(VOICE_HIT, hit, 420);
    mixer_fill();
    std::vector<uint8_t> out = prepared();
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 420), std::vector<uint8_t>(hit, hit + 420));
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 420, out.end()), constant(MIX_BLOCK - 420, MIX_SILENCE));
    EXPECT_EQ(mixer.voices[VOICE_HIT].remaining, 0);
    mixer_fill();
    EXPECT_EQ(prepared(), constant(MIX_BLOCK, MIX_SILENCE)) << "the sound plays once";
}

TEST_F(Mixing, TheSumOfAllVoicesIsClampedToTheSampleRange) {
    const std::vector<uint8_t> loud_samples = constant(MIX_BLOCK, 255);
    const std::vector<uint8_t> low_samples = constant(MIX_BLOCK, 0);
    const uint8_t* loud = loud_samples.data();
    const uint8_t* low = low_samples.data();
    voice_start(0, loud, MIX_BLOCK);
    voice_start(1, loud, MIX_BLOCK);
    mixer_fill();
    EXPECT_EQ(prepared(), constant(MIX_BLOCK, 255)) << "127 + 127 + 128 = 382 clamps to 255";
    voice_start(0, low, MIX_BLOCK);
    voice_start(1, low, MIX_BLOCK);
    mixer_fill();
    EXPECT_EQ(prepared(), constant(MIX_BLOCK, 0)) << "-128 - 128 + 128 clamps to 0";
    // A loud and a low voice cancel: the clamp is on the sum, not per voice.
    voice_start(0, loud, MIX_BLOCK);
    voice_start(1, low, MIX_BLOCK);
    mixer_fill();
    EXPECT_EQ(prepared(), constant(MIX_BLOCK, 127));
}

TEST_F(Mixing, ALongSoundSpansEightFullBlocksAndTheRestInTheNinth) {
    const uint8_t* tune = sound_block(SOUND_GAME_BEGIN);
    ASSERT_NE(tune, nullptr);
    const int32_t length = sound_play_length(SOUND_GAME_BEGIN);
    ASSERT_EQ(length, 17480);
    voice_start(VOICE_HIT, tune, length);
    // Callback k hands out what pass k - 1 prepared; the first hands out the
    // half prepared before the start.
    std::vector<uint8_t> heard;
    std::vector<int32_t> remaining;
    for (int pass = 0; pass < 10; ++pass) {
        std::vector<uint8_t> out = callback();
        heard.insert(heard.end(), out.begin(), out.end());
        remaining.push_back(mixer.voices[VOICE_HIT].remaining);
    }
    EXPECT_EQ(std::vector<uint8_t>(heard.begin(), heard.begin() + MIX_BLOCK), constant(MIX_BLOCK, MIX_SILENCE));
    EXPECT_EQ(remaining[7], 1480) << "eight full blocks";
    EXPECT_EQ(remaining[8], 0) << "the ninth takes the last 1480";
    std::vector<uint8_t> played(heard.begin() + MIX_BLOCK, heard.begin() + MIX_BLOCK + length);
    EXPECT_EQ(played, std::vector<uint8_t>(tune, tune + length));
    // The ninth block ends in 520 samples of silence, and the next is silent.
    EXPECT_EQ(std::vector<uint8_t>(heard.begin() + MIX_BLOCK + length, heard.end()),
              constant(size_t(MIX_BLOCK - 1480), MIX_SILENCE));
    EXPECT_EQ(prepared(), constant(MIX_BLOCK, MIX_SILENCE));
}

TEST_F(Mixing, StartingASoundOnABusyVoiceRestartsItAndLeavesTheOthersPlaying) {
    const uint8_t* tune = sound_block(SOUND_GAME_BEGIN);
    const uint8_t* march = sound_block(SOUND_MARCH_1);
    const uint8_t* hit = sound_block(SOUND_INVADER_HIT);
    ASSERT_TRUE(tune && march && hit);
    voice_start(VOICE_HIT, tune, sound_play_length(SOUND_GAME_BEGIN));
    voice_start(VOICE_MARCH, march, sound_play_length(SOUND_MARCH_1));
    mixer_fill();
    EXPECT_EQ(mixer.voices[VOICE_HIT].remaining, 17480 - MIX_BLOCK);
    voice_start(VOICE_HIT, hit, 420);
    EXPECT_EQ(mixer.voices[VOICE_HIT].remaining, 420);
    EXPECT_EQ(mixer.voices[VOICE_HIT].length, 420);
    EXPECT_EQ(mixer.voices[VOICE_HIT].samples, hit);
    mixer_fill();
    // Voice 2 has ended in the first pass; the hit plays alone from sample 0.
    std::vector<uint8_t> out = prepared();
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 420), std::vector<uint8_t>(hit, hit + 420));

    // A long sound keeps going while another voice restarts beside it.
    voice_start(VOICE_HIT, tune, 17480);
    voice_start(VOICE_MARCH, march, 996);
    mixer_fill();
    voice_start(VOICE_MARCH, hit, 420);
    mixer_fill();
    EXPECT_EQ(mixer.voices[VOICE_HIT].remaining, 17480 - 2 * MIX_BLOCK);
    out = prepared();
    for (int i = 0; i < 420; ++i) {
        int expected = int(tune[MIX_BLOCK + i]) + int(hit[i]) - MIX_SILENCE;
        expected = expected < 0 ? 0 : expected > 255 ? 255 : expected;
        ASSERT_EQ(out[size_t(i)], expected) << "sample " << i;
    }
    EXPECT_EQ(out[420], tune[MIX_BLOCK + 420]);
}

TEST_F(Mixing, StoppingAVoiceSilencesItFromTheNextPassAndASilentVoiceStaysSilent) {
    const uint8_t* tune = sound_block(SOUND_GAME_BEGIN);
    ASSERT_NE(tune, nullptr);
    voice_stop(VOICE_SAUCER);
    mixer_fill();
    EXPECT_EQ(prepared(), constant(MIX_BLOCK, MIX_SILENCE));
    voice_start(VOICE_HIT, tune, 17480);
    mixer_fill();
    voice_stop(VOICE_HIT);
    EXPECT_EQ(mixer.voices[VOICE_HIT].remaining, 0);
    EXPECT_EQ(mixer.voices[VOICE_HIT].samples, tune) << "a stop leaves samples and length";
    EXPECT_EQ(mixer.voices[VOICE_HIT].length, 17480);
    mixer_fill();
    EXPECT_EQ(prepared(), constant(MIX_BLOCK, MIX_SILENCE));
}

TEST_F(Mixing, ALoopingVoiceStartsAgainAtItsFirstSample) {
    static const uint8_t cycle[3] = {100, 150, 200};
    voice_start(0, cycle, 3);
    SDL_LockAudio();
    mixer.voices[0].loop = 1;
    SDL_UnlockAudio();
    mixer_fill();
    std::vector<uint8_t> out = prepared();
    for (int i = 0; i < MIX_BLOCK; ++i) ASSERT_EQ(out[size_t(i)], cycle[i % 3]) << "sample " << i;
    EXPECT_EQ(mixer.voices[0].remaining, 3 - MIX_BLOCK % 3);
}

TEST_F(Mixing, CallbacksHandOutHalfOneFirstThenAlternate) {
    const uint8_t* hit = sound_block(SOUND_INVADER_HIT);
    ASSERT_NE(hit, nullptr);
    // A sound started right after start-up misses the half already prepared.
    voice_start(VOICE_HIT, hit, 420);
    std::vector<uint8_t> first = callback();
    EXPECT_EQ(mixer.played_half, 1);
    EXPECT_EQ(first, constant(MIX_BLOCK, MIX_SILENCE));
    std::vector<uint8_t> second = callback();
    EXPECT_EQ(mixer.played_half, 0);
    EXPECT_EQ(std::vector<uint8_t>(second.begin(), second.begin() + 420), std::vector<uint8_t>(hit, hit + 420));
    callback();
    EXPECT_EQ(mixer.played_half, 1);
}

TEST_F(Mixing, ACallbackOfAnotherLengthWritesExactlyThatManyBytes) {
    std::vector<uint8_t> tone(4 * MIX_BLOCK);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = uint8_t(1 + i % 250);
    voice_start(0, tone.data(), int32_t(tone.size()));
    callback();  // hands out the silent half, prepares tone[0..1999]

    // Shorter: the start of the half, nothing beyond.
    std::vector<uint8_t> stream(3000, 0xAA);
    mixer_callback(nullptr, stream.data(), 1500);
    EXPECT_EQ(std::vector<uint8_t>(stream.begin(), stream.begin() + 1500),
              std::vector<uint8_t>(tone.begin(), tone.begin() + 1500));
    EXPECT_EQ(std::vector<uint8_t>(stream.begin() + 1500, stream.end()), constant(1500, 0xAA));

    // Longer: the whole half, then silence, and not a byte past the length.
    std::vector<uint8_t> wide(3000, 0xAA);
    mixer_callback(nullptr, wide.data(), 2048);
    EXPECT_EQ(std::vector<uint8_t>(wide.begin(), wide.begin() + MIX_BLOCK),
              std::vector<uint8_t>(tone.begin() + MIX_BLOCK, tone.begin() + 2 * MIX_BLOCK));
    EXPECT_EQ(std::vector<uint8_t>(wide.begin() + MIX_BLOCK, wide.begin() + 2048), constant(48, MIX_SILENCE));
    EXPECT_EQ(std::vector<uint8_t>(wide.begin() + 2048, wide.end()), constant(3000 - 2048, 0xAA));
}

// The real device, with SDL's dummy driver.
TEST(AudioDevice, OpensAndStartsSilentThenShutsDownWithEveryVoiceSilenced) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (int id = 1; id <= SOUND_COUNT; ++id) sound_catalogue[id].samples = nullptr;
    ASSERT_EQ(audio_init(), 0);
    EXPECT_EQ(mixer.device_open, 1);
    for (int id = 1; id <= SOUND_COUNT; ++id)
        EXPECT_EQ(sound_catalogue[id].samples, sound_block(id)) << "sound " << id;
    SDL_LockAudio();
    std::vector<uint8_t> both(mixer.mix_buffer, mixer.mix_buffer + 2 * MIX_BLOCK);
    SDL_UnlockAudio();
    EXPECT_EQ(both, constant(2 * MIX_BLOCK, MIX_SILENCE));
    sound_play(VOICE_MARCH, SOUND_START);
    EXPECT_EQ(audio_shutdown(), 0);
    EXPECT_EQ(mixer.device_open, 0);
    for (const Voice& v : mixer.voices) EXPECT_LE(v.remaining, 0);
    SDL_Quit();
}

TEST(AudioDevice, ADeviceThatCannotOpenLeavesTheGameSilentButCuesStillWriteVoices) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    for (int id = 1; id <= SOUND_COUNT; ++id) sound_catalogue[id].samples = nullptr;
    EXPECT_EQ(audio_init(), 1);
    EXPECT_EQ(mixer.device_open, 0);
    for (int id = 1; id <= SOUND_COUNT; ++id) EXPECT_EQ(sound_catalogue[id].samples, nullptr);
    sound_play(VOICE_SAUCER, SOUND_SAUCER);
    EXPECT_EQ(mixer.voices[VOICE_SAUCER].remaining, 2732);
    EXPECT_EQ(mixer.voices[VOICE_SAUCER].length, 2732);
    voice_stop(VOICE_SAUCER);
    EXPECT_EQ(mixer.voices[VOICE_SAUCER].remaining, 0);
    EXPECT_EQ(audio_shutdown(), 0);
    SDL_Quit();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
