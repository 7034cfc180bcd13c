// The sound catalogue: block sizes and play lengths, each sound's character
// measured from its samples, how the blocks are found in their WAV files, the
// cues, and a game that plays on silently without an audio device.
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
#include "tools/replay_run.h"

namespace {

struct Expected {
    int id;
    uint32_t stored_size;
    int32_t play_length;
};

constexpr Expected CATALOGUE[SOUND_COUNT] = {
    {SOUND_GAME_OVER, 10071, 10016}, {SOUND_INVADER_HIT, 472, 420}, {SOUND_PLAYER_HIT, 4008, 3956},
    {SOUND_SAUCER, 2784, 2732},      {SOUND_SAUCER_HIT, 2418, 2364}, {SOUND_START, 2690, 2636},
    {SOUND_SHOT, 842, 788},          {SOUND_GAME_BEGIN, 17532, 17480}, {SOUND_MARCH_1, 1048, 996},
    {SOUND_MARCH_2, 906, 852},       {SOUND_MARCH_3, 1008, 956},     {SOUND_MARCH_4, 962, 908},
};

// What a listener would measure: levels in sample steps away from silence.
struct Measure {
    std::vector<int> s;  // sample - 128
    explicit Measure(int id, int32_t from = 0, int32_t to = -1) {
        const uint8_t* b = sound_block(id);
        int32_t n = sound_play_length(id);
        if (to < 0) to = n;
        for (int32_t i = from; b && i < to; ++i) s.push_back(int(b[i]) - MIX_SILENCE);
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
    // Pitch from zero crossings (with a little hysteresis), in Hz.
    double pitch() const {
        int state = 0, crossings = 0;
        for (int v : s) {
            int now = v > 3 ? 1 : v < -3 ? -1 : state;
            if (state != 0 && now != state) ++crossings;
            state = now;
        }
        return s.empty() ? 0 : crossings / 2.0 / (double(s.size()) / MIX_RATE);
    }
};

Measure part(int id, int numerator, int denominator, int upto_num, int upto_den) {
    int32_t n = sound_play_length(id);
    return Measure(id, n * numerator / denominator, n * upto_num / upto_den);
}

TEST(SoundCatalogue, EveryBlockHasItsStoredSizeAndPlaysAllButItsLast52To55Bytes) {
    for (const Expected& e : CATALOGUE) {
        SCOPED_TRACE("sound " + std::to_string(e.id));
        EXPECT_EQ(sound_stored_size(e.id), e.stored_size);
        EXPECT_EQ(sound_play_length(e.id), e.play_length);
        ASSERT_NE(sound_block(e.id), nullptr) << "its WAV file holds a block of exactly that size";
        // The unplayed tail is silence: harmless even if it were ever played.
        const uint8_t* b = sound_block(e.id);
        for (uint32_t i = uint32_t(e.play_length); i < e.stored_size; ++i) ASSERT_EQ(b[i], MIX_SILENCE);
    }
    EXPECT_EQ(sound_block(0), nullptr);
    EXPECT_EQ(sound_block(SOUND_COUNT + 1), nullptr);
    EXPECT_EQ(sound_play_length(0), 0);
}

TEST(SoundCatalogue, HitsAndJinglesAreLoudTheShotAndTuneMediumTheMarchAndSaucerQuiet) {
    for (int id : {SOUND_GAME_OVER, SOUND_INVADER_HIT, SOUND_PLAYER_HIT, SOUND_SAUCER_HIT, SOUND_START})
        EXPECT_GE(Measure(id).peak(), 96) << "loud sound " << id;
    for (int id : {SOUND_SHOT, SOUND_GAME_BEGIN}) {
        EXPECT_GE(Measure(id).peak(), 48) << "medium sound " << id;
        EXPECT_LT(Measure(id).peak(), 96) << "medium sound " << id;
    }
    for (int id = SOUND_MARCH_1; id <= SOUND_MARCH_4; ++id) {
        EXPECT_LE(Measure(id).peak(), 40) << "march note " << id;
        EXPECT_LE(Measure(id).rms(), 20) << "march note " << id;
    }
    // The saucer's pulse is the faintest sound of all, about 18 of 127.
    EXPECT_GE(Measure(SOUND_SAUCER).peak(), 14);
    EXPECT_LE(Measure(SOUND_SAUCER).peak(), 22);
}

TEST(SoundCatalogue, EachSoundHasTheShapeAndPitchOfItsRole) {
    // Fading at the end: the last tenth is far below the first half.
    for (int id : {SOUND_GAME_OVER, SOUND_PLAYER_HIT, SOUND_START, SOUND_SHOT})
        EXPECT_LT(part(id, 9, 10, 1, 1).rms(), part(id, 0, 1, 1, 2).rms() / 4) << "fading sound " << id;
    EXPECT_LE(part(SOUND_PLAYER_HIT, 9, 10, 1, 1).peak(), 6) << "the explosion dies to near silence";
    // Even: every quarter within 15% of the whole.
    for (int id : {SOUND_SAUCER, SOUND_SAUCER_HIT, SOUND_GAME_BEGIN}) {
        double whole = Measure(id).rms();
        for (int q = 0; q < 4; ++q)
            EXPECT_NEAR(part(id, q, 4, q + 1, 4).rms(), whole, whole * 0.15) << "even sound " << id << " quarter " << q;
    }
    // The game-over tune is sustained: loud for most of its 1.25 s.
    EXPECT_GE(part(SOUND_GAME_OVER, 0, 1, 1, 2).rms(), 40);
    // Low sounds and high sounds.
    EXPECT_LT(Measure(SOUND_GAME_OVER).pitch(), 150);
    EXPECT_GT(Measure(SOUND_SAUCER).pitch(), 800);
    EXPECT_GT(Measure(SOUND_START).pitch(), 500) << "the start chime is bright";
    // The march notes are low and step down a bass line, 9 to 12.
    double previous = 1e9;
    for (int id = SOUND_MARCH_1; id <= SOUND_MARCH_4; ++id) {
        double p = Measure(id).pitch();
        EXPECT_LT(p, 150) << "march note " << id;
        EXPECT_LT(p, previous) << "march note " << id;
        previous = p;
    }
    // The saucer pulse ends before the next one starts 25 frames of 16 ms later.
    EXPECT_LT(sound_play_length(SOUND_SAUCER), 25 * 16 * MIX_RATE / 1000);
}

TEST(SoundCatalogue, TheGameBeginTuneIsAMelodyOfSeveralNotes) {
    // 125 ms windows; a note change shows as a pitch change of a semitone or more.
    const int32_t window = MIX_RATE / 8;
    std::vector<double> pitches;
    for (int32_t at = 0; at + window <= sound_play_length(SOUND_GAME_BEGIN); at += window)
        pitches.push_back(Measure(SOUND_GAME_BEGIN, at, at + window).pitch());
    int distinct = 0;
    for (size_t i = 0; i < pitches.size(); ++i) {
        bool seen = false;
        for (size_t j = 0; j < i; ++j) seen = seen || std::abs(std::log2(pitches[i] / pitches[j])) < 1.0 / 24;
        if (!seen) ++distinct;
    }
    EXPECT_GE(distinct, 5);
}

// A little WAV file assembled chunk by chunk.
struct Wav {
    std::vector<uint8_t> bytes;
    void tag(const char* t) { bytes.insert(bytes.end(), t, t + 4); }
    void u16(uint32_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void chunk(const char* t, std::vector<uint8_t> body) {
        tag(t);
        u32(uint32_t(body.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
        if (body.size() & 1) bytes.push_back(0);
    }
    void format(uint32_t rate, uint32_t channels, uint32_t bits) {
        Wav f;
        f.u16(1);
        f.u16(channels);
        f.u32(rate);
        f.u32(rate * channels * bits / 8);
        f.u16(channels * bits / 8);
        f.u16(bits);
        chunk("fmt ", f.bytes);
    }
    std::vector<uint8_t> file() const {
        Wav w;
        w.tag("RIFF");
        w.u32(uint32_t(bytes.size() + 4));
        w.tag("WAVE");
        w.bytes.insert(w.bytes.end(), bytes.begin(), bytes.end());
        return w.bytes;
    }
};

TEST(SoundFiles, TheBlockIsTheDataChunkOfAn8000HzUnsigned8BitMonoFile) {
    std::vector<uint8_t> block(5, 200);
    Wav good;
    good.chunk("LIST", std::vector<uint8_t>(7, 'x'));  // odd size: padded
    good.format(MIX_RATE, 1, 8);
    good.chunk("data", block);
    std::vector<uint8_t> file = good.file();
    const uint8_t* found = sound_wav_block(file.data(), uint32_t(file.size()), 5);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found - file.data(), ptrdiff_t(file.size() - 5 - 1));
    EXPECT_EQ(sound_wav_block(file.data(), uint32_t(file.size()), 6), nullptr) << "wrong size";
    EXPECT_EQ(sound_wav_block(file.data(), uint32_t(file.size() - 3), 5), nullptr) << "cut short";

    Wav stereo, fast, wide, none;
    stereo.format(MIX_RATE, 2, 8);
    fast.format(22050, 1, 8);
    wide.format(MIX_RATE, 1, 16);
    for (Wav* w : {&stereo, &fast, &wide, &none}) {
        w->chunk("data", block);
        std::vector<uint8_t> f = w->file();
        EXPECT_EQ(sound_wav_block(f.data(), uint32_t(f.size()), 5), nullptr);
    }
    // A size field pointing far past the end is not followed.
    Wav damaged;
    damaged.format(MIX_RATE, 1, 8);
    damaged.tag("junk");
    damaged.u32(0xFFFFFFF0u);
    damaged.chunk("data", block);
    std::vector<uint8_t> f = damaged.file();
    EXPECT_EQ(sound_wav_block(f.data(), uint32_t(f.size()), 5), nullptr);
    EXPECT_EQ(sound_wav_block(nullptr, 0, 5), nullptr);
}

std::vector<std::pair<int, int>> cues;
void record(int voice, int id) { cues.emplace_back(voice, id); }

class Cues : public ::testing::Test {
protected:
    void SetUp() override {
        mixer_reset();
        sound_catalogue_fill();
        cues.clear();
        sound_set_cue_hook(record);
    }
    void TearDown() override {
        sound_set_cue_hook(nullptr);
        mixer_reset();
    }
};

TEST_F(Cues, ASoundPlaysOnItsVoiceFromItsFirstSampleAndEveryCueIsReported) {
    sound_play(VOICE_MARCH, SOUND_MARCH_2);
    const Voice& v = mixer.voices[VOICE_MARCH];
    EXPECT_EQ(v.samples, sound_block(SOUND_MARCH_2));
    EXPECT_EQ(v.length, 852);
    EXPECT_EQ(v.remaining, 852);
    EXPECT_EQ(v.loop, 0);
    voice_stop(VOICE_MARCH);
    EXPECT_EQ(cues, (std::vector<std::pair<int, int>>{{VOICE_MARCH, SOUND_MARCH_2}, {VOICE_MARCH, 0}}));
}

TEST_F(Cues, OfSeveralCuesOnOneVoiceBetweenTwoPassesOnlyTheLastIsHeard) {
    // The march notes in a row, then the first again.
    const int32_t lengths[5] = {996, 852, 956, 908, 996};
    for (int i = 0; i < 5; ++i) {
        int id = SOUND_MARCH_1 + i % 4;
        sound_play(VOICE_MARCH, id);
        EXPECT_EQ(mixer.voices[VOICE_MARCH].length, lengths[i]);
    }
    sound_play(VOICE_MARCH, SOUND_MARCH_3);
    mixer_fill();
    const uint8_t* note = sound_block(SOUND_MARCH_3);
    const uint8_t* out = mixer.mix_buffer + (1 - mixer.played_half) * MIX_BLOCK;
    EXPECT_EQ(std::vector<uint8_t>(out, out + 956), std::vector<uint8_t>(note, note + 956));
}

TEST_F(Cues, AtGameOverOnlyTheGameOverTuneIsLeftSounding) {
    ASSERT_TRUE(start_headless_video());
    sound_play(VOICE_PLAYER, SOUND_SHOT);
    sound_play(VOICE_HIT, SOUND_GAME_BEGIN);
    sound_play(VOICE_MARCH, SOUND_MARCH_1);
    sound_play(VOICE_SAUCER, SOUND_SAUCER);
    cues.clear();
    screen_game_over_begin(120, 4560);
    stop_headless_video();
    EXPECT_EQ(cues, (std::vector<std::pair<int, int>>{{VOICE_MARCH, SOUND_GAME_OVER},
                                                      {VOICE_PLAYER, 0},
                                                      {VOICE_HIT, 0},
                                                      {VOICE_SAUCER, 0}}));
    mixer_fill();
    const uint8_t* tune = sound_block(SOUND_GAME_OVER);
    const uint8_t* out = mixer.mix_buffer + (1 - mixer.played_half) * MIX_BLOCK;
    EXPECT_EQ(std::vector<uint8_t>(out, out + MIX_BLOCK), std::vector<uint8_t>(tune, tune + MIX_BLOCK));
}

TEST(SilentGame, WithoutAnAudioDeviceTheGamePlaysOnInSilence) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    for (int id = 1; id <= SOUND_COUNT; ++id) sound_catalogue[id].samples = nullptr;
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
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.quit) << "the game kept reading input and quit on Escape";
    EXPECT_EQ(result.passes, script.total_passes) << "it ran to the end of the script";
    EXPECT_EQ(mixer.device_open, 0);
    for (int id = 1; id <= SOUND_COUNT; ++id) EXPECT_EQ(sound_catalogue[id].samples, nullptr);
    // The start chime was cued all the same, on the march voice.
    std::ifstream trace(options.trace_path);
    std::stringstream all;
    all << trace.rdbuf();
    EXPECT_NE(all.str().find("\"cues\":[[2,6]]"), std::string::npos);
    std::remove(options.trace_path.c_str());
}

}  // namespace
