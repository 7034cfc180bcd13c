// The mixer with SDL's real audio thread: the game thread starts and stops
// sounds as fast as it can while the callback mixes. Every voice change is
// made under the audio lock, so the callback never sees half of one. Only
// ThreadSanitizer can see a race here, so this suite is built for
// scripts/tsan-check.sh alone (-DZUBA_THREAD_STRESS=ON).
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "platform/platform.h"

namespace {

// SDL's disk driver runs the real audio thread, calling back about a
// thousand times a second with a 1 ms pause.
bool open_disk_device() {
    platform_set_env("SDL_AUDIODRIVER", "disk", true);
    platform_set_env("SDL_DISKAUDIOFILE", "/dev/null", true);
    platform_set_env("SDL_DISKAUDIODELAY", "1", true);
    return audio_init() == 0;
}

TEST(MixerThreads, SoundsStartedAndStoppedAsFastAsPossibleNeverMeetAMixPassHalfway) {
    if (!open_disk_device()) GTEST_SKIP() << "no disk audio driver: " << SDL_GetError();
    const char* s = std::getenv("ZUBA_MIXER_STRESS_SECONDS");
    const double seconds = s && std::atof(s) > 0 ? std::atof(s) : 1.0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int broken = 0, flips = 0, half_seen = -1;
    for (unsigned i = 0; std::chrono::steady_clock::now() < until; ++i) {
        // Every sound on every voice, and stops in between.
        sound_play(int(i % VOICE_COUNT), 1 + int(i % SOUND_COUNT));
        voice_stop(int((i + 1) % VOICE_COUNT));
        voice_start(int((i + 2) % VOICE_COUNT), sound_block(SOUND_SHOT), int32_t(1 + i % 500));
        if (i % 64 != 0) continue;
        SDL_LockAudio();
        for (const Voice& v : mixer.voices)  // silent, or playing inside its own samples
            broken += v.remaining > 0 && (!v.samples || v.length <= 0 || v.remaining > v.length);
        flips += mixer.played_half != half_seen;
        half_seen = mixer.played_half;
        SDL_UnlockAudio();
    }
    audio_shutdown();
    SDL_Quit();
    EXPECT_EQ(broken, 0);
    EXPECT_GT(flips, 1) << "the audio thread called back";
}

// The device starts calling back as soon as mixer_reset unpauses it; what
// the reset wrote must be what the first callback reads.
TEST(MixerThreads, ADeviceOpenedAgainAndAgainStartsEachTimeFromAFreshMixer) {
    for (int round = 0; round < 20; ++round) {
        // Left over from the last round: a voice mid-sound and the other half.
        mixer.voices[VOICE_HIT] = Voice{sound_block(SOUND_SHOT), 10, 500};
        mixer.played_half = 1;
        if (!open_disk_device()) GTEST_SKIP() << "no disk audio driver: " << SDL_GetError();
        SDL_LockAudio();
        const bool fresh = mixer.voices[VOICE_HIT].remaining <= 0;
        SDL_UnlockAudio();
        EXPECT_TRUE(fresh) << "round " << round;
        sound_play(VOICE_MARCH, SOUND_START);
        SDL_Delay(2);
        audio_shutdown();
    }
    SDL_Quit();
}

}  // namespace
