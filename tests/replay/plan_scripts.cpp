// Writes the replay scripts of this directory by playing the real game
// logic without a window: a simple player that waits, or that walks to front
// invaders and fires, intercepts the saucer, or walks under bombs to lose its
// cannons. Build and run from the source tree (not part of the build):
//   c++ -std=c++20 -O2 -I. tests/replay/plan_scripts.cpp build/libzuba.a
//       $(pkg-config --cflags --libs sdl) -o /tmp/plan_scripts
//   /tmp/plan_scripts tests/replay
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/screens.h"
#include "game/bombs.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "input/input.h"
#include "tools/replay_script.h"
#include "video/presenter.h"

namespace {

uint32_t now = 0;
uint32_t ticks() { return now; }
void delay(uint32_t ms) { now += ms; }
const VideoClock CLOCK = {ticks, delay};

struct Snapshot {
    GameSession game;
    PlayerShot shot;
    BombState bombs;
    Formation formation;
    ShieldBlock shields[SHIELD_BLOCKS];
    Saucer saucer;
    InputState input;
    Screens screens;
};
Snapshot* take() {
    static Snapshot s;
    s.game = game;
    s.shot = shot;
    s.bombs = bomb_state;
    s.formation = formation;
    std::memcpy(s.shields, shields, sizeof shields);
    s.saucer = saucer;
    s.input = input;
    s.screens = screens;
    return &s;
}
void restore(const Snapshot& s) {
    game = s.game;
    shot = s.shot;
    bomb_state = s.bombs;
    formation = s.formation;
    std::memcpy(shields, s.shields, sizeof shields);
    saucer = s.saucer;
    input = s.input;
    screens = s.screens;
}

uint32_t to_game_bits(uint32_t keys) {
    uint32_t b = 0;
    if (keys & REPLAY_LEFT) b |= INPUT_LEFT;
    if (keys & REPLAY_RIGHT) b |= INPUT_RIGHT;
    if (keys & REPLAY_FIRE) b |= INPUT_A;
    return b;
}

// What one shot fired now would do: points, and whether it breaks a block.
struct ShotOutcome {
    int points;
    bool breaks_block;
};
ShotOutcome try_fire() {
    Snapshot* s = take();
    const int score0 = game.score, blocks0 = shields_count_alive();
    ShotOutcome out{0, false};
    input.buttons[0] = INPUT_A;
    game_frame();
    input.buttons[0] = 0;
    const int fired = game.shots_fired;
    for (int f = 0; f < 330 && shot.active && game.shots_fired == fired; ++f) game_frame();
    out.points = game.score - score0;
    out.breaks_block = shields_count_alive() < blocks0;
    restore(*s);
    return out;
}

enum Mode { WAIT, PLAY, DIE };

bool saucer_from_right() {
    return saucer.explosion == 0 && saucer.steps_left > 0 && saucer.direction == 1;
}

// Column the cannon should stand at, by mode.
int target_x(Mode mode) {
    if (mode == DIE) {
        int best = -1, best_d = 1 << 30;
        for (const Bomb& b : bomb_state.bombs) {
            if (b.kind == 0) continue;
            const int d = std::abs((b.x - 6) - game.player_x);
            if (d < best_d && (1275 - b.y) / 3 >= d) {
                best_d = d;
                best = b.x - 6;
            }
        }
        return best < 0 ? game.player_x : best;
    }
    // A saucer coming from the right is met at the left edge, where no
    // shield stands and the front rows have marched away.
    if (saucer_from_right() && saucer.x <= 1300) return PLAYER_X_MIN;
    // Otherwise the nearest live front invader.
    int best = game.player_x, best_d = 1 << 30;
    for (int s = 0; s < FRONT_SLOTS; ++s) {
        const Invader& inv = formation.slots[s];
        if (inv.kind == 0 || inv.x < 8 || inv.x > 2410) continue;
        const int d = std::abs(inv.x - 6 - game.player_x);
        if (d < best_d) {
            best_d = d;
            best = inv.x - 6;
        }
    }
    return best;
}

uint32_t game_keys(Mode mode) {
    if (mode == WAIT) return 0;
    uint32_t keys = 0;
    const int t = target_x(mode);
    if (t < game.player_x) keys |= REPLAY_LEFT;
    if (t > game.player_x) keys |= REPLAY_RIGHT;
    if (mode == PLAY && !shot.active && game.fire_latch == 0 && game.player_explosion == 0) {
        const ShotOutcome o = try_fire();
        // Just before the saucer enters, the shot count is made odd (so it
        // enters from the right) and then kept.
        const bool entering = saucer.countdown > 0 && saucer.countdown <= 150;
        bool fire;
        if (entering) fire = game.shots_fired % 2 == 0;
        else if (saucer_from_right()) fire = o.points >= 50 || (o.points > 0 && saucer.x > 1300);
        else fire = o.points > 0 || (o.breaks_block && std::abs(t - game.player_x) < 4);
        if (fire) keys |= REPLAY_FIRE;
    }
    return keys;
}

struct Planner {
    std::vector<uint32_t> keys;  // per pass
    void pass(uint32_t k) {
        keys.push_back(k);
        input.buttons[0] = to_game_bits(k);
        screen_pass();
    }
    // Until the title screen takes the button, then through its countdown.
    // The splash and game-over waits are cut short with the button if asked.
    void start_game(bool cut_waits) {
        while (screens.state != SCREEN_TITLE_WAIT || screens.screen_timer < 31) {
            const bool waiting = screens.state == SCREEN_SPLASH_WAIT || screens.state == SCREEN_GAME_OVER_WAIT;
            const bool cut = cut_waits && waiting && screens.screen_timer < 120 && screens.screen_timer > 2;
            pass(cut ? REPLAY_FIRE : 0);
        }
        pass(REPLAY_FIRE);
        while (screens.state != SCREEN_GAME_RUN) pass(0);
    }
    void play(Mode mode, int frames) {
        for (int f = 0; f < frames && screens.state == SCREEN_GAME_RUN; ++f) pass(game_keys(mode));
    }
    // Plays until the saucer has been hit and its explosion is over.
    void play_until_saucer_hit(int frames) {
        bool hit = false;
        for (int f = 0; f < frames && screens.state == SCREEN_GAME_RUN; ++f) {
            pass(game_keys(PLAY));
            if (saucer.explosion > 0) hit = true;
            if (hit && saucer.explosion == 0) break;
        }
    }
    bool write(const std::string& path, const std::string& header) const {
        std::FILE* f = std::fopen(path.c_str(), "w");
        if (!f) return false;
        std::fputs(header.c_str(), f);
        static const char* NAMES[REPLAY_KEY_COUNT] = {"up", "down", "left", "right", "fire", "b", "c", "d", "escape"};
        size_t i = 0;
        while (i < keys.size()) {
            size_t j = i;
            while (j < keys.size() && keys[j] == keys[i]) ++j;
            std::string k;
            for (int b = 0; b < REPLAY_KEY_COUNT; ++b)
                if (keys[i] & (1u << b)) k += (k.empty() ? "" : "+") + std::string(NAMES[b]);
            std::fprintf(f, "%zu %s\n", j - i, k.empty() ? "-" : k.c_str());
            i = j;
        }
        return std::fclose(f) == 0;
    }
};

void fresh_run() {
    now = 0;
    video_set_clock(&CLOCK);
    screens.state = SCREEN_RESET_HISCORE;
    input = InputState{};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    const std::string note = "# Written by tests/replay/plan_scripts.cpp; lines are '<passes> <keys>'.\n";

    {   // Waits: one press on the title screen, then nothing until the game ends.
        fresh_run();
        Planner p;
        p.start_game(false);
        while (screens.state == SCREEN_GAME_RUN) p.pass(0);
        p.pass(0);
        std::printf("wait: %zu passes, score %d, lives %d\n", p.keys.size(), game.score, game.lives);
        p.write(dir + "/wait_to_game_over.script",
                "# From the splash to the end of a game in which the player only waits.\n"
                "# long: about 322000 passes (a minute), compared only when asked.\n# trace-every: 1000\n" + note);
    }
    {   // Plays: walks to front invaders and fires, intercepts the saucer, then quits.
        fresh_run();
        Planner p;
        p.start_game(true);
        p.play_until_saucer_hit(4000);
        p.play(PLAY, 50);
        std::printf("play: %zu passes, score %d, lives %d, shots %d, live front %d\n", p.keys.size(),
                    game.score, game.lives, game.shots_fired, formation_count_live());
        p.keys.push_back(REPLAY_ESCAPE);
        p.write(dir + "/shoot_invaders_and_saucer.script",
                "# Shoots front invaders and the saucer, then quits with Escape.\n# trace-every: 10\n" + note);
    }
    {   // Two games: scores, then loses its cannons under bombs; the second
        // game scores nothing, so the hi-score of the first is kept.
        fresh_run();
        Planner p;
        p.start_game(true);
        p.play(PLAY, 1000);
        const int first = game.score;
        p.play(DIE, 100000);
        p.pass(0);
        std::printf("two games: first %d, hi %d after %zu passes\n", first, game.hi_score, p.keys.size());
        p.start_game(true);
        p.play(DIE, 100000);
        p.pass(0);
        std::printf("two games: second %d, hi %d after %zu passes\n", game.score, game.hi_score, p.keys.size());
        p.write(dir + "/two_games_hi_score.script",
                "# Two games in a row: the second scores nothing and the hi-score stays.\n"
                "# trace-every: 10\n" + note);
    }
    return 0;
}
