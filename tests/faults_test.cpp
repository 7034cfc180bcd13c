// A window closed while the cannon explodes: no input is read during the
// explosion, so the quit waits in SDL's queue for the next poll, and the
// shutdown that follows leaves nothing open.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/screens.h"
#include "audio/mixer.h"
#include "game/game.h"
#include "game/player.h"
#include "input/input.h"
#include "tests/test_support.h"
#include "video/presenter.h"

namespace {

// Fire held through the splash, one press in the title, then the cannon walks
// right under the bombs until one destroys it.
const char* const WALK_INTO_BOMBS = "70 fire\n60 -\n2 fire\n100 -\n3000 right\n";

TEST(WindowClose, DuringTheCannonsExplosionItWaitsForTheNextPollThenShutsDownCleanly) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    struct Seen {
        int state, explosion, lives, ready, quit;
    };
    std::vector<Seen> seen;
    int64_t closed_at = -1;
    ReplayOptions options;
    options.after_pass = [&](uint64_t pass, int state) {
        seen.push_back({state, game.player_explosion, game.lives, game.ready_countdown, input.quit_requested});
        // Halfway through the first explosion of the game.
        if (closed_at < 0 && state == SCREEN_GAME_RUN && game.player_explosion == PLAYER_EXPLOSION_FRAMES / 2) {
            replay_push_quit();
            closed_at = int64_t(pass);
        }
    };
    ReplayResult result;
    std::string error;
    ReplayScript script;
    ASSERT_TRUE(replay_parse_script(WALK_INTO_BOMBS, std::strlen(WALK_INTO_BOMBS), "walk", script, error));
    const int status = replay_run(script, options, result, error);
    ASSERT_GE(closed_at, 0) << "no bomb reached the cannon";
    EXPECT_EQ(status, 0) << error;
    EXPECT_TRUE(result.quit);

    // The rest of the explosion ran without a quit: 45 more frames, the last
    // of which ended it and took a life.
    const size_t c = size_t(closed_at);
    const size_t end = c + PLAYER_EXPLOSION_FRAMES / 2;
    ASSERT_EQ(result.passes, end + 2) << "the run ends in the first pass after the explosion";
    for (size_t p = c + 1; p <= end; ++p) {
        EXPECT_EQ(seen[p].state, SCREEN_GAME_RUN);
        EXPECT_EQ(seen[p].quit, 0) << "pass " << p;
        EXPECT_EQ(seen[p].explosion, int(end - p)) << "pass " << p;
    }
    EXPECT_EQ(seen[end].lives, seen[c].lives - 1);
    // The next frame polls, sees the close and is the last.
    const Seen& last = seen[end + 1];
    EXPECT_EQ(last.state, SCREEN_GAME_RUN);
    EXPECT_EQ(last.quit, 1);
    EXPECT_EQ(last.explosion, 0);
    EXPECT_EQ(last.ready, READY_COUNTDOWN - 1);

    // Shut down in order: sound closed and silent, joysticks closed, SDL gone.
    EXPECT_EQ(mixer.device_open, 0);
    for (const Voice& v : mixer.voices) EXPECT_LE(v.remaining, 0);
    EXPECT_EQ(input.joysticks[0], nullptr);
    EXPECT_EQ(input.joysticks[1], nullptr);
    EXPECT_EQ(presenter.screen, nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

}  // namespace
