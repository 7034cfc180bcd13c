// The mixer with SDL's real audio thread: the game thread starts and stops
// sounds as fast as it can while the callback mixes. Every voice change is
// made under the audio lock, so the callback never sees half of one; built
// with -fsanitize=thread (scripts/tsan-check.sh) this test shows no data race.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "audio/mixer.h"
#include "audio/sounds.h"

namespace {

// Seconds of hammering: short in the normal suite, longer when asked.
double stress_seconds() {
    const char* s = std::getenv("ZUBA_MIXER_STRESS_SECONDS");
    const double v = s ? std::atof(s) : 0.0;
    return v > 0 ? v : 1.0;
}

// Every voice as the lock holder sees it: silent, or playing inside its own
// samples.
bool voices_whole() {
    for (int i = 0; i < VOICE_COUNT; ++i) {
        const Voice& v = mixer.voices[i];
        if (v.remaining <= 0) continue;
        if (!v.samples || v.length <= 0 || v.remaining > v.length || v.loop != 0) return false;
    }
    return true;
}

TEST(MixerThreads, SoundsStartedAndStoppedAsFastAsPossibleNeverMeetAMixPassHalfway) {
    // The disk driver runs the real audio thread and, with a 1 ms pause,
    // calls back about a thousand times a second into a file we can read.
    char path[] = "/tmp/zuba-mixer-threads-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path, 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    if (audio_init() != 0) {
        std::remove(path);
        GTEST_SKIP() << "SDL's disk audio driver is not available: " << SDL_GetError();
    }

    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(stress_seconds());
    long long changes = 0, broken = 0, checks = 0;
    int half_seen = -1, flips = 0;
    for (unsigned i = 0; std::chrono::steady_clock::now() < until; ++i) {
        // Every sound on every voice, and stops in between.
        sound_play(int(i % VOICE_COUNT), 1 + int(i % SOUND_COUNT));
        voice_stop(int((i + 1) % VOICE_COUNT));
        voice_start(int((i + 2) % VOICE_COUNT), sound_block(SOUND_SHOT), int32_t(1 + i % 500));
        changes += 3;
        if (i % 64 == 0) {
            SDL_LockAudio();
            broken += voices_whole() ? 0 : 1;
            if (mixer.played_half != half_seen) {
                half_seen = mixer.played_half;
                ++flips;
            }
            SDL_UnlockAudio();
            ++checks;
        }
    }
    audio_shutdown();
    SDL_Quit();
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    EXPECT_EQ(broken, 0) << "of " << checks << " looks under the lock";
    // The audio thread really ran: blocks of mixed sound reached the device.
    std::FILE* f = std::fopen(path, "rb");
    ASSERT_NE(f, nullptr);
    long blocks = 0, loud = 0;
    unsigned char block[MIX_BLOCK];
    while (std::fread(block, 1, sizeof block, f) == sizeof block) {
        ++blocks;
        for (unsigned char b : block) {
            if (b != MIX_SILENCE) {
                ++loud;
                break;
            }
        }
    }
    std::fclose(f);
    std::remove(path);
    EXPECT_GE(blocks, 10) << "callbacks in " << stress_seconds() << " s";
    EXPECT_GT(loud, 0) << "no block held any sound";
    EXPECT_GT(flips, 1);
    std::printf("%lld voice changes, %ld callbacks, %ld with sound\n", changes, blocks, loud);
}

// The device starts calling back as soon as mixer_reset unpauses it; what
// the reset wrote must be what the first callback reads.
TEST(MixerThreads, ADeviceOpenedAgainAndAgainStartsEachTimeFromAFreshMixer) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    int opened = 0;
    for (int round = 0; round < 20; ++round) {
        // Left over from the last round: a voice mid-sound and the other half.
        mixer.voices[VOICE_HIT] = Voice{sound_block(SOUND_SHOT), 10, 500, 0};
        mixer.played_half = 1;
        if (audio_init() != 0) break;
        ++opened;
        SDL_LockAudio();
        const bool fresh = mixer.voices[VOICE_HIT].remaining <= 0;
        SDL_UnlockAudio();
        EXPECT_TRUE(fresh) << "round " << round;
        sound_play(VOICE_MARCH, SOUND_START);
        SDL_Delay(2);
        audio_shutdown();
    }
    SDL_Quit();
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (opened == 0) GTEST_SKIP() << "SDL's disk audio driver is not available";
    EXPECT_EQ(opened, 20);
}

}  // namespace
