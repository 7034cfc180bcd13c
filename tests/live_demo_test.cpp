// The game's recorder: a demo holds the passes the game played, so a pause
// leaves no trace in it.
#include "app/live_demo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "replay/demo_player.h"
#include "replay/replay_run.h"
#include "replay/world_state.h"
#include "tests/test_support.h"

namespace {

// Plays the script headless through the game's own recorder and reads back
// the demo it wrote.
ReplayScript record(const char* script_text, const std::string& name) {
    ReplayScript script, demo;
    std::string error;
    EXPECT_TRUE(replay_parse_script(script_text, std::strlen(script_text), name, script, error)) << error;
    const std::string path = scratch_folder("live_" + name) + "/" + name + ".demo";
    Options options{};
    options.record = path.c_str();
    EXPECT_TRUE(live_demo_open(options, error)) << error;
    ReplayOptions run;
    run.after_pass = [](uint64_t, int) {
        live_demo_after_pass(0, 0);
        live_demo_before_pass();
    };
    ReplayResult result;
    world_reset();
    live_demo_before_pass();
    EXPECT_EQ(replay_run(script, run, result, error), 0) << error;
    EXPECT_EQ(live_demo_close(), 0);
    EXPECT_TRUE(replay_load_script(path, demo, error)) << error;
    return demo;
}

}  // namespace

TEST(LiveDemo, PassesSpentPausedAreLeftOutSoTheDemoPlaysAsIfThereWasNoPause) {
    const char* straight = "250 -\n1 fire\n120 -\n60 right+fire\n30 -\n1 escape\n";
    // The pass that brings the pause key is already paused; the one that
    // brings it again plays.
    const char* paused = "250 -\n1 fire\n120 -\n60 right+fire\n1 pause\n40 -\n1 pause\n29 -\n1 escape\n";
    const ReplayScript a = record(straight, "straight");
    const ReplayScript b = record(paused, "paused");
    ASSERT_GT(a.total_passes, 0u);
    EXPECT_EQ(b.total_passes, a.total_passes);
    ASSERT_EQ(b.syncs.size(), a.syncs.size());
    for (size_t i = 0; i < a.syncs.size(); ++i) {
        EXPECT_EQ(b.syncs[i].pass, a.syncs[i].pass);
        EXPECT_EQ(b.syncs[i].hash, a.syncs[i].hash) << "sync line " << i;
    }
    DemoPlayer pa, pb;
    demo_player_start(pa, a);
    demo_player_start(pb, b);
    DemoPass ka{}, kb{};
    while (demo_player_next(pa, ka) && demo_player_next(pb, kb)) ASSERT_EQ(kb.keys, ka.keys) << "pass " << pa.pass;
    // And what the recorder wrote plays back in sync to its end.
    ReplayResult result;
    std::string error;
    world_reset();
    ASSERT_EQ(replay_run(b, ReplayOptions{}, result, error), 0) << error;
    EXPECT_FALSE(result.out_of_sync) << "at pass " << result.sync_pass;
    EXPECT_EQ(result.passes, b.total_passes);
}
