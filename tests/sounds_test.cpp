// The sound catalogue: the WAV reader behind it, play lengths and the cues.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "session/screens.h"
#include "tests/test_support.h"

namespace {

// A mono 8-bit 8000 Hz WAV file whose data chunk holds `samples` bytes, with
// the given chunks before it (each a tag, a length and its bytes).
std::vector<uint8_t> wav(const std::string& before_data, uint32_t samples, uint16_t channels = 1) {
    auto le = [](std::string& s, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) s += char(v >> (8 * i));
    };
    std::string body = "WAVEfmt ";
    le(body, 16, 4);
    for (auto [v, n] : {std::pair{1u, 2}, {channels, 2}, {8000u, 4}, {8000u * channels, 4}, {channels, 2}, {8u, 2}})
        le(body, v, n);
    body += before_data + "data";
    le(body, samples, 4);
    body += std::string(samples, '\x80');
    std::string file = "RIFF";
    le(file, uint32_t(body.size()), 4);
    file += body;
    return std::vector<uint8_t>(file.begin(), file.end());
}

TEST(WavReader, FindsTheDataChunkPastOddSizedChunksAndTheirPadByte) {
    for (const std::string& extra : {std::string(), std::string("LIST\3\0\0\0abc\0", 12),
                                     std::string("junk\1\0\0\0x\0LIST\2\0\0\0ab", 20)}) {
        std::vector<uint8_t> f = wav(extra, 100);
        const uint8_t* block = sound_wav_block(f.data(), uint32_t(f.size()), 100);
        EXPECT_EQ(block, f.data() + f.size() - 100) << extra.size() << " bytes of other chunks";
    }
}

TEST(WavReader, RefusesStereoAWrongBlockSizeACutFileAndTheIdsOutsideTheCatalogue) {
    std::vector<uint8_t> stereo = wav("", 100, 2), mono = wav("", 100);
    EXPECT_EQ(sound_wav_block(stereo.data(), uint32_t(stereo.size()), 100), nullptr);
    EXPECT_EQ(sound_wav_block(mono.data(), uint32_t(mono.size()), 99), nullptr);
    EXPECT_EQ(sound_wav_block(mono.data(), uint32_t(mono.size()) - 1, 100), nullptr);
    EXPECT_EQ(sound_block(0), nullptr);
    EXPECT_EQ(sound_block(SOUND_COUNT + 1), nullptr);
    for (int id = 1; id <= SOUND_COUNT; ++id) EXPECT_NE(sound_block(id), nullptr) << id;
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

TEST_F(Cues, EverySoundPlaysWholeGroupsOfFourSamplesAndLeavesItsLast52Unplayed) {
    for (int id = 1; id <= SOUND_COUNT; ++id) {
        sound_play(VOICE_HIT, id);
        const int32_t played = mixer.voices[VOICE_HIT].length, stored = int32_t(sound_stored_size(id));
        EXPECT_EQ(played % 4, 0) << id;
        EXPECT_LE(played, stored - 52) << id;
        EXPECT_GT(played, stored - 52 - 4) << id;
    }
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

}  // namespace
