// zuba-plan-scripts: writes the replay scripts of tests/replay/ and the timed
// demo's scripts of bench/ by playing the real game logic without a window: a
// simple player that waits, or that walks to front invaders and fires,
// intercepts the saucer, dodges bombs, or walks under bombs to lose its
// cannons. Built as build/zuba-plan-scripts; run from the source tree:
//   build/zuba-plan-scripts tests/replay
// With a second directory it writes the timed-demo scripts there instead (all,
// or the one named third: aggressive or soak):
//   build/zuba-plan-scripts tests/replay bench [aggressive|soak]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/bombs.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "input/input.h"
#include "replay/replay_clock.h"
#include "replay/replay_script.h"
#include "replay/script_writer.h"
#include "replay/world_state.h"
#include "session/screens.h"
#include "video/presenter.h"

namespace {

// Play-ahead copies of the world, one per depth of the dodge search.
WorldState* take(int level = 0) {
    static WorldState levels[8];
    world_save(levels[level]);
    return &levels[level];
}

uint32_t to_game_bits(uint32_t keys) { return replay_keys_to_game_bits(keys); }

// What one shot fired now would do: points, and whether it breaks a block.
struct ShotOutcome {
    int points;
    bool breaks_block;
};
ShotOutcome try_fire() {
    WorldState* s = take();
    const int score0 = game.score, blocks0 = shields_count_alive();
    ShotOutcome out{0, false};
    input.buttons[0] = INPUT_A;
    game_frame();
    input.buttons[0] = 0;
    const int fired = game.shots_fired;
    for (int f = 0; f < 330 && shot.active && game.shots_fired == fired; ++f) game_frame();
    out.points = game.score - score0;
    out.breaks_block = shields_count_alive() < blocks0;
    world_restore(*s);
    return out;
}

enum Mode { WAIT, PLAY, DIE };

// How far ahead the aggressive player looks for bombs (a bomb falls 3
// pixels a frame, the cannon walks 1).
constexpr int DODGE_FRAMES = 40;
// The turning walks tried when no straight one gets away.
constexpr int DODGE_LEG = 8;
constexpr int DODGE_LEGS = 5;
// How far the aggressive player walks to shoot at a passing saucer.
constexpr int SAUCER_LANE_REACH = 150;

bool saucer_from_right() {
    return saucer.explosion == 0 && saucer.steps_left > 0 && saucer.direction == 1;
}

int nearest_front_x();

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
    return nearest_front_x();
}

// Column the cannon should stand at to shoot the nearest live front invader.
int nearest_front_x() {
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

// The cannon position nearest px (within reach) whose shot column has no
// live front invader over it; -1 when there is none.
int clear_lane_near(int px, int reach) {
    for (int d = 0; d <= reach; ++d) {
        for (int x : {px - d, px + d}) {
            if (x < PLAYER_X_MIN || x > PLAYER_X_MAX) continue;
            const int column = x + 6;
            bool blocked = false;
            for (int s = 0; s < FRONT_SLOTS && !blocked; ++s) {
                const Invader& inv = formation.slots[s];
                blocked = inv.kind != 0 && std::abs(inv.x - column) <= 8;
            }
            if (!blocked) return x;
        }
    }
    return -1;
}

// Whether the cannon is hit within `frames` frames when it holds `first` for
// one frame and `then` afterwards. Played ahead on a snapshot.
bool hit_ahead(uint32_t first, uint32_t then, int frames) {
    WorldState* s = take();
    bool hit = false;
    for (int f = 0; f < frames && !hit; ++f) {
        input.buttons[0] = to_game_bits(f == 0 ? first : then);
        const int lives = game.lives;
        if (game_frame() == 0 || game.player_explosion > 0 || game.lives < lives) hit = true;
    }
    input.buttons[0] = 0;
    world_restore(*s);
    return hit;
}

// Whether some walk of DODGE_LEGS legs of DODGE_LEG frames each (standing,
// left or right; the first leg starts with `first`) keeps the cannon whole.
bool escape_exists(uint32_t first, int leg) {
    if (leg == DODGE_LEGS) return true;
    WorldState* s = take(leg + 1);
    const uint32_t tries[4] = {first, 0, REPLAY_LEFT, REPLAY_RIGHT};
    for (int t = leg == 0 ? 0 : 1; t < 4; ++t) {
        bool hit = false;
        for (int f = 0; f < DODGE_LEG && !hit; ++f) {
            input.buttons[0] = to_game_bits(leg == 0 && f > 0 ? (first & (REPLAY_LEFT | REPLAY_RIGHT)) : tries[t]);
            const int lives = game.lives;
            if (game_frame() == 0 || game.player_explosion > 0 || game.lives < lives) hit = true;
        }
        const bool ok = !hit && escape_exists(0, leg + 1);
        world_restore(*s);
        if (ok) return true;
        if (leg == 0) break;  // the first leg is the move asked about
    }
    return false;
}

// A bomb that may reach the cannon's row soon, near enough to walk into.
bool bomb_near() {
    // Bombs pass through a blinking cannon, but one that is still falling
    // when the blinking ends counts.
    if (game.ready_countdown > DODGE_FRAMES || game.player_explosion > 0) return false;
    for (const Bomb& b : bomb_state.bombs) {
        if (b.kind == 0) continue;
        const int frames_to_row = (SHOT_START_Y - b.y) / BOMB_SPEED;
        if (b.y > BOMB_LEAVE_Y || frames_to_row > DODGE_FRAMES) continue;
        if (std::abs(b.x - (game.player_x + 6)) <= 6 + DODGE_FRAMES) return true;
    }
    return false;
}

// The keys of an aggressive player: aim and fire at the front, but a move that
// would walk into a bomb is swapped for one that gets away, when one does.
// While `spare_last` is set the last front invader is left standing, so the
// formation drops a bomb every 17 steps until 128 are falling.
uint32_t aggressive_keys(bool spare_last) {
    // Straight for the nearest front invader; saucers are shot when one
    // passes over the cannon, never chased.
    uint32_t wanted = 0;
    int t = nearest_front_x();
    // While the saucer flies, stand in a nearby lane with no front invader:
    // the shot passes the rear rows, which cannot be hit.
    if (saucer.explosion == 0 && saucer.steps_left > 0) {
        const int lane = clear_lane_near(game.player_x, SAUCER_LANE_REACH);
        if (lane >= 0) t = lane;
    }
    if (t < game.player_x) wanted |= REPLAY_LEFT;
    if (t > game.player_x) wanted |= REPLAY_RIGHT;
    const bool may_fire = !(spare_last && formation_count_live() <= 1);
    if (may_fire && !shot.active && game.fire_latch == 0 && game.player_explosion == 0) {
        const ShotOutcome o = try_fire();
        if (o.points > 0 || (o.breaks_block && std::abs(t - game.player_x) < 4)) wanted |= REPLAY_FIRE;
    }
    if (!bomb_near()) return wanted;
    const uint32_t moves[4] = {wanted, 0, REPLAY_LEFT, REPLAY_RIGHT};
    for (uint32_t m : moves) {
        for (uint32_t then : {m & (REPLAY_LEFT | REPLAY_RIGHT), 0u, uint32_t(REPLAY_LEFT), uint32_t(REPLAY_RIGHT)})
            if (!hit_ahead(m, then, DODGE_FRAMES)) return m;
    }
    // No straight walk gets away: search walks that turn.
    for (uint32_t m : moves)
        if (escape_exists(m, 0)) return m;
    return wanted;
}

// What a planned run went through, printed to judge a benchmark script.
struct RunStats {
    int most_bombs = 0;       // bombs falling at once, at most
    int saucer_hits = 0;
    int waves_cleared = 0;
    int fewest_front = FRONT_SLOTS;
    uint64_t passes_with_128_bombs = 0;
};

struct Planner {
    std::vector<uint32_t> keys;  // per pass
    RunStats stats;
    void pass(uint32_t k) {
        keys.push_back(k);
        input.buttons[0] = to_game_bits(k);
        const bool in_game = screens.state == SCREEN_GAME_RUN;
        const int front = formation_count_live();
        const int32_t saucer_explosion = saucer.explosion;
        screen_pass();
        if (!in_game || screens.state != SCREEN_GAME_RUN) return;
        int falling = 0;
        for (const Bomb& b : bomb_state.bombs) falling += b.kind != 0;
        stats.most_bombs = std::max(stats.most_bombs, falling);
        if (falling == BOMB_SLOTS) stats.passes_with_128_bombs += 1;
        if (saucer.explosion > 0 && saucer_explosion == 0) stats.saucer_hits += 1;
        if (game.player_explosion == PLAYER_EXPLOSION_FRAMES)
            std::fprintf(stderr, "cannon lost at pass %zu, front %d\n", keys.size(), formation_count_live());
        if (formation_count_live() == FRONT_SLOTS && front < FRONT_SLOTS) stats.waves_cleared += 1;
        stats.fewest_front = std::min(stats.fewest_front, formation_count_live());
    }
    // Aggressive play until the front is down to `front_left` invaders (or
    // the frames run out); sparing the last one if asked.
    void play_aggressive(int frames, bool spare_last, int front_left = -1) {
        for (int f = 0; f < frames && screens.state == SCREEN_GAME_RUN; ++f) {
            if (formation_count_live() <= front_left) break;
            pass(aggressive_keys(spare_last));
        }
    }
    // Escape, held long enough for a poll to see it: an exploding cannon
    // reads no input for up to 90 frames. The replay stops at the quit.
    void quit() {
        for (int f = 0; f < 100; ++f) keys.push_back(REPLAY_ESCAPE);
    }
    void print(const char* name) const {
        std::printf("%s: %zu passes, score %d, lives %d, shots %d, front %d (fewest %d), waves cleared %d, "
                    "saucer hits %d, most bombs %d (128 for %llu passes)\n",
                    name, keys.size(), game.score, game.lives, game.shots_fired, formation_count_live(),
                    stats.fewest_front, stats.waves_cleared, stats.saucer_hits, stats.most_bombs,
                    (unsigned long long)stats.passes_with_128_bombs);
    }
    // Until the title screen takes the button, then through its countdown.
    // The splash and game-over waits are cut short with the button if asked.
    void start_game(bool cut_waits) {
        while (screens.state != SCREEN_TITLE_WAIT || screens.screen_timer < 31) {
            const bool waiting = screens.state == SCREEN_SPLASH_WAIT || screens.state == SCREEN_GAME_OVER_WAIT;
            const bool cut = cut_waits && waiting && screens.screen_timer < 120 && screens.screen_timer > 2;
            pass(cut ? uint32_t(REPLAY_FIRE) : 0u);
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
        ScriptWriter writer;
        script_writer_start(writer, f);
        for (uint32_t k : keys) script_writer_pass(writer, k);
        script_writer_end_line(writer);
        return std::fclose(f) == 0;
    }
};

// Each script is replayed from a fresh start, so it is planned from one.
void fresh_run() {
    replay_clock_start(0);
    world_reset();
}

}  // namespace

// The timed demo's scripts: the waiting game is the one of the tests; the
// aggressive game and the soak are played by the dodging player.
void write_bench_scripts(const std::string& dir, const std::string& note, const std::string& only) {
    if (only.empty() || only == "aggressive") {   // Clears the front down to its last invader, spares it while the bombs
        // pile up to 128, shoots it (the wave is re-laid), plays on, quits.
        fresh_run();
        Planner p;
        p.start_game(true);
        p.play_aggressive(400000, true, 1);
        p.print("aggressive, front down to one");
        p.play_aggressive(600, true);
        p.print("aggressive, last one spared");
        const int cleared = p.stats.waves_cleared;
        for (int f = 0; f < 20000 && screens.state == SCREEN_GAME_RUN && p.stats.waves_cleared == cleared; ++f)
            p.pass(aggressive_keys(false));
        p.play_aggressive(2000, false);
        p.print("aggressive");
        p.quit();
        p.write(dir + "/aggressive_game.script",
                "# An aggressive game: many shots and hits, saucers shot, the front cleared\n"
                "# down to one invader that is spared while bombs pile up (one every 17\n"
                "# steps, 128 falling), then shot so the wave is re-laid; quits with Escape.\n" + note);
    }
    if (only.empty() || only == "soak") {   // Five games in a row with the game-over and splash waits in full.
        fresh_run();
        Planner p;
        p.start_game(false);
        p.play_aggressive(20000, false);
        p.play(DIE, 100000);
        p.print("soak, game 1");
        p.start_game(false);
        p.play(DIE, 100000);
        p.print("soak, game 2");
        p.start_game(false);
        p.play_aggressive(60000, false);
        p.play(DIE, 100000);
        p.print("soak, game 3");
        p.start_game(false);
        p.play(WAIT, 20000);
        p.play(DIE, 100000);
        p.print("soak, game 4");
        p.start_game(false);
        p.play_aggressive(100000, false);
        p.play(DIE, 100000);
        p.print("soak, game 5");
        for (int f = 0; f < 400; ++f) p.pass(0);  // the game-over screen and the splash again
        p.quit();
        p.write(dir + "/soak.script",
                "# A soak: five games in a row (aggressive, lost at once, long aggressive,\n"
                "# waiting, aggressive to its end) with every screen between them in full.\n" + note);
    }
}

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    const std::string note = "# Written by tools/plan_scripts.cpp (zuba-plan-scripts); lines are '<passes> <keys>'.\n";
    if (argc > 2) {
        write_bench_scripts(argv[2], note, argc > 3 ? argv[3] : "");
        return 0;
    }

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
