// The sound catalogue: block sizes and play lengths, each sound's character
// measured from its samples, the cues, and a game that plays on silently
// without an audio device.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/screens.h"
#include "audio/mixer.h"
#include "audio/sounds.h"
#include "tests/test_support.h"
#include "replay/replay_run.h"

namespace {

// Levels in sample steps away from silence over [from, to) of a sound.
struct Measure {
    std::vector<int> s;
    Measure(int id, double from = 0, double to = 1) {
        const uint8_t* b = sound_block(id);
        const int32_t n = sound_play_length(id);
        for (int32_t i = int32_t(n * from); b && i < int32_t(n * to); ++i) s.push_back(int(b[i]) - MIX_SILENCE);
    }
    int peak() const {
        int p = 0;
        for (int v : s) p = std::max(p, std::abs(v));
        return p;
    }
    double rms() const {
        double sum = 0;
        for (int v : s) sum += double(v) * v;
        return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
    }
    // Pitch in Hz from zero crossings, with a little hysteresis.
    double pitch() const {
        int state = 0, crossings = 0;
        for (int v : s) {
            int now = v > 3 ? 1 : v < -3 ? -1 : state;
            crossings += state != 0 && now != state;
            state = now;
        }
        return s.empty() ? 0 : crossings / 2.0 / (double(s.size()) / MIX_RATE);
    }
};

TEST(SoundCatalogue, EveryBlockHasItsStoredSizeAndPlayLengthAndASilentTail) {
    const int32_t stored[SOUND_COUNT + 1] = {0, 10071, 472, 4008, 2784, 2418, 2690, 842, 17532, 1048, 906, 1008, 962};
    const int32_t plays[SOUND_COUNT + 1] = {0, 10016, 420, 3956, 2732, 2364, 2636, 788, 17480, 996, 852, 956, 908};
    for (int id = 1; id <= SOUND_COUNT; ++id) {
        EXPECT_EQ(sound_stored_size(id), uint32_t(stored[id])) << id;
        EXPECT_EQ(sound_play_length(id), plays[id]) << id;
        const uint8_t* b = sound_block(id);
        ASSERT_NE(b, nullptr) << id;
        for (int32_t i = plays[id]; i < stored[id]; ++i) ASSERT_EQ(b[i], MIX_SILENCE) << id;
    }
    EXPECT_EQ(sound_block(0), nullptr);
    EXPECT_EQ(sound_block(SOUND_COUNT + 1), nullptr);
}

TEST(SoundCatalogue, EachSoundsLoudnessShapeAndPitchFitItsRole) {
    for (int id : {SOUND_GAME_OVER, SOUND_INVADER_HIT, SOUND_PLAYER_HIT, SOUND_SAUCER_HIT, SOUND_START})
        EXPECT_GE(Measure(id).peak(), 96) << "loud " << id;
    for (int id : {SOUND_SHOT, SOUND_GAME_BEGIN}) {
        EXPECT_GE(Measure(id).peak(), 48) << "medium " << id;
        EXPECT_LT(Measure(id).peak(), 96) << "medium " << id;
    }
    double previous = 1e9;  // the march notes: quiet, low, stepping down a bass line
    for (int id = SOUND_MARCH_1; id <= SOUND_MARCH_4; ++id) {
        EXPECT_LE(Measure(id).peak(), 40) << id;
        EXPECT_LE(Measure(id).rms(), 20) << id;
        EXPECT_LT(Measure(id).pitch(), std::min(previous, 150.0)) << id;
        previous = Measure(id).pitch();
    }
    EXPECT_NEAR(Measure(SOUND_SAUCER).peak(), 18, 4) << "the faintest sound";
    EXPECT_GT(Measure(SOUND_SAUCER).pitch(), 800);
    EXPECT_LT(Measure(SOUND_GAME_OVER).pitch(), 150);
    EXPECT_GE(Measure(SOUND_GAME_OVER, 0, 0.5).rms(), 40) << "sustained";
    for (int id : {SOUND_GAME_OVER, SOUND_PLAYER_HIT, SOUND_START, SOUND_SHOT})
        EXPECT_LT(Measure(id, 0.9).rms(), Measure(id, 0, 0.5).rms() / 4) << "fades " << id;
    // The game-begin tune (17480 samples): a melody of five notes or more,
    // told apart in 1000-sample (125 ms) windows.
    std::vector<double> notes;
    for (int w = 0; w < 17; ++w) {
        double p = Measure(SOUND_GAME_BEGIN, w / 17.48, (w + 1) / 17.48).pitch();
        bool seen = false;
        for (double q : notes) seen = seen || std::abs(std::log2(p / q)) < 1.0 / 24;
        if (!seen) notes.push_back(p);
    }
    EXPECT_GE(notes.size(), 5u);
}

class Cues : public ::testing::Test {
protected:
    void SetUp() override {
        mixer_reset();
        sound_catalogue_fill();
        record_cues();
    }
    void TearDown() override {
        stop_recording_cues();
        mixer_reset();
    }
    static std::vector<uint8_t> prepared(size_t n) {
        const uint8_t* out = mixer.mix_buffer + (1 - mixer.played_half) * MIX_BLOCK;
        return std::vector<uint8_t>(out, out + n);
    }
};

TEST_F(Cues, MarchNotesPlay996852956908ThenAgainAndOfSeveralCuesOnAVoiceOnlyTheLastIsHeard) {
    const int32_t lengths[5] = {996, 852, 956, 908, 996};
    for (int i = 0; i < 5; ++i) {
        sound_play(VOICE_MARCH, SOUND_MARCH_1 + i % 4);
        EXPECT_EQ(mixer.voices[VOICE_MARCH].length, lengths[i]);
    }
    sound_play(VOICE_MARCH, SOUND_MARCH_3);
    mixer_fill();
    const uint8_t* note = sound_block(SOUND_MARCH_3);
    EXPECT_EQ(prepared(956), std::vector<uint8_t>(note, note + 956));
    EXPECT_EQ(cues.back(), std::make_pair(int(VOICE_MARCH), int(SOUND_MARCH_3)));
}

TEST_F(Cues, AtGameOverOnlyTheGameOverTuneIsLeftSounding) {
    ASSERT_TRUE(start_headless_video());
    for (int v = 0; v < 4; ++v) sound_play(v, SOUND_GAME_BEGIN);
    cues.clear();
    screen_game_over_begin(120, 4560);
    stop_headless_video();
    EXPECT_EQ(cues, (::Cues{{VOICE_MARCH, SOUND_GAME_OVER}, {VOICE_PLAYER, 0}, {VOICE_HIT, 0}, {VOICE_SAUCER, 0}}));
    mixer_fill();
    const uint8_t* tune = sound_block(SOUND_GAME_OVER);
    EXPECT_EQ(prepared(MIX_BLOCK), std::vector<uint8_t>(tune, tune + MIX_BLOCK));
}

TEST(SilentGame, WithoutAnAudioDeviceTheGamePlaysOnInSilence) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    // Splash, title, fire to start, and on into the game before quitting.
    const char* text = "200 -\n40 -\n5 fire\n100 -\n1 escape\n";
    ReplayScript script;
    std::string error;
    ASSERT_TRUE(replay_parse_script(text, std::strlen(text), "silent", script, error)) << error;
    ReplayOptions options;
    options.trace_path = std::string(ZUBA_BINARY_DIR) + "/silent_game_trace.jsonl";
    ReplayResult result;
    EXPECT_EQ(replay_run(script, options, result, error), 0) << error;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(result.quit) << "the game kept reading input and quit on Escape";
    EXPECT_EQ(result.passes, script.total_passes);
    EXPECT_EQ(mixer.device_open, 0);
    std::ifstream trace(options.trace_path);
    std::stringstream all;
    all << trace.rdbuf();
    EXPECT_NE(all.str().find("\"cues\":[[2,6]]"), std::string::npos) << "the start chime was cued all the same";
    std::remove(options.trace_path.c_str());
}

}  // namespace
