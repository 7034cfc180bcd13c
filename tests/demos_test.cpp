// The game's recorder: a demo holds the passes the game played, so a pause
// leaves no trace in it.
#include "app/demos.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "replay/demo.h"
#include "replay/replay_run.h"
#include "replay/world_state.h"

namespace {

// Plays the script headless through the game's own recorder and reads back
// the demo it wrote.
ReplayScript record(const char* script_text, const std::string& name) {
    ReplayScript script, demo;
    std::string error;
    EXPECT_TRUE(replay_parse_script(script_text, std::strlen(script_text), name, script, error)) << error;
    const std::string path = std::string(ZUBA_BINARY_DIR) + "/" + name + ".demo";
    Options options{};
    options.record = path.c_str();
    EXPECT_TRUE(demos_open(options, error)) << error;
    ReplayOptions run;
    run.after_pass = [](uint64_t, int) {
        demos_after_pass(0, 0);
        demos_before_pass(0);
    };
    ReplayResult result;
    world_reset();
    demos_before_pass(0);
    EXPECT_EQ(replay_run(script, run, result, error), 0) << error;
    EXPECT_EQ(demos_close(), 0);
    EXPECT_TRUE(replay_load_script(path, demo, error)) << error;
    return demo;
}

}  // namespace

TEST(Demos, PassesSpentPausedAreLeftOutSoTheDemoPlaysAsIfThereWasNoPause) {
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
    DemoCursor ca{}, cb{};
    uint32_t keys_a = 0, keys_b = 0;
    bool close_a = false, close_b = false;
    while (demo_next_pass(a, ca, keys_a, close_a) && demo_next_pass(b, cb, keys_b, close_b))
        ASSERT_EQ(keys_b, keys_a) << "pass " << ca.pass;
}
