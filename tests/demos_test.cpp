// The game's recorder: a demo holds the passes the game played, so a pause
// leaves no trace in it.
#include "app/demos.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "replay/demo.h"
#include "replay/replay_run.h"
#include "replay/world_state.h"
#include "input/input.h"
#include "tests/test_support.h"

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

namespace {

std::string slurp(const std::string& path) {
    std::string text;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "(missing)";
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, got);
    std::fclose(f);
    return text;
}

void spit(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

const std::string OLD_DEMO = "# zuba-trilo demo 1\n# game 0.0.9\n3 fire\n# sync 2 00000000000000ff\n";

// Records a few passes of keys into the recorder, one flush per pass.
bool record_passes(DemoRecorder& r, int count, std::string& error) {
    for (int i = 0; i < count; ++i) {
        if (!demo_record_pass(r, (i & 1) ? INPUT_LEFT : INPUT_RIGHT, false, false, double(i) * DEMO_FLUSH_MS, error))
            return false;
    }
    return true;
}

}  // namespace

TEST(DemoRecording, NoFileButADemoOfTheGameIsEverRecordedOverAndNothingIsLeftBehind) {
    const std::string dir = scratch_folder("record_refused");
    spit(dir + "/notes.txt", "my notes\n");
    spit(dir + "/program", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10));
    spit(dir + "/read-only.demo", OLD_DEMO);
    ASSERT_EQ(chmod((dir + "/read-only.demo").c_str(), 0444), 0);
    ASSERT_EQ(symlink("notes.txt", (dir + "/link.demo").c_str()), 0);
    ASSERT_EQ(mkfifo((dir + "/fifo.demo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((dir + "/folder.demo").c_str(), 0700), 0);
    for (const std::string& path : {dir + "/notes.txt", dir + "/program", dir + "/read-only.demo",
                                    dir + "/link.demo", dir + "/fifo.demo", dir + "/folder.demo",
                                    std::string("/dev/null")}) {
        const std::string before = slurp(path.find("fifo") == std::string::npos ? path : dir + "/notes.txt");
        DemoRecorder r;
        std::string error;
        EXPECT_FALSE(demo_record_start(r, path, "0.1.0", 0, error)) << path;
        EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
        EXPECT_NE(error.find("no demo recorded"), std::string::npos) << error;
        EXPECT_EQ(slurp(path.find("fifo") == std::string::npos ? path : dir + "/notes.txt"), before) << path;
        EXPECT_FALSE(exists(path + DEMO_PART_SUFFIX)) << path;
    }
    EXPECT_FALSE(exists(dir + "/notes.txt" + DEMO_PART_SUFFIX)) << "nor beside a link's target";
    // A folder the player may not write to: said before play, nothing made.
    ASSERT_EQ(mkdir((dir + "/locked").c_str(), 0500), 0);
    if (access((dir + "/locked").c_str(), W_OK) != 0) {
        DemoRecorder r;
        std::string error;
        EXPECT_FALSE(demo_record_start(r, dir + "/locked/new.demo", "0.1.0", 0, error));
        EXPECT_NE(error.find("cannot write the demo"), std::string::npos) << error;
    }
}

TEST(DemoRecording, ADemoIsReplacedOnlyOnceTheNewRecordingIsWholeKeepingItsModeAndLinks) {
    const std::string dir = scratch_folder("record_replace");
    ASSERT_EQ(mkdir((dir + "/real").c_str(), 0700), 0);
    spit(dir + "/real/game.demo", OLD_DEMO);
    ASSERT_EQ(chmod((dir + "/real/game.demo").c_str(), 0640), 0);
    ASSERT_EQ(symlink("real/game.demo", (dir + "/link.demo").c_str()), 0);
    DemoRecorder r;
    std::string error;
    ASSERT_TRUE(demo_record_start(r, dir + "/link.demo", "0.1.0", 0, error)) << error;
    // Beside the link's target; a second recording of the same file is refused.
    const std::string part = dir + "/real/game.demo" + DEMO_PART_SUFFIX;
    EXPECT_EQ(slurp(part), "# zuba-trilo demo 1\n# game 0.1.0\n") << "the header is on the disk before play";
    DemoRecorder second;
    std::string second_error;
    EXPECT_FALSE(demo_record_start(second, dir + "/real/game.demo", "0.1.0", 0, second_error));
    EXPECT_EQ(second_error.rfind(part + ": already there", 0), 0u) << second_error;
    ASSERT_TRUE(record_passes(r, 5, error)) << error;
    // Killed here, the old demo is whole and the new one plays.
    EXPECT_EQ(slurp(dir + "/real/game.demo"), OLD_DEMO);
    ReplayScript partial;
    EXPECT_TRUE(replay_load_script(part, partial, error)) << error;
    EXPECT_EQ(partial.total_passes, 5u);
    ASSERT_TRUE(demo_record_finish(r, error)) << error;
    EXPECT_FALSE(exists(part));
    ReplayScript whole;
    ASSERT_TRUE(replay_load_script(dir + "/link.demo", whole, error)) << error;
    EXPECT_EQ(whole.game_version, "0.1.0");
    EXPECT_EQ(whole.total_passes, 5u);
    struct stat st{};
    ASSERT_EQ(lstat((dir + "/link.demo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    ASSERT_EQ(stat((dir + "/real/game.demo").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // A game that cannot start leaves the old demo and no .part.
    spit(dir + "/real/game.demo", OLD_DEMO);
    ASSERT_TRUE(demo_record_start(r, dir + "/real/game.demo", "0.1.0", 0, error)) << error;
    demo_record_abandon(r);
    EXPECT_FALSE(exists(part));
    EXPECT_EQ(slurp(dir + "/real/game.demo"), OLD_DEMO);
}

TEST(DemoRecording, AFailedWriteIsReportedBeforePlayOrAtOnceAndTheOldDemoStays) {
    const std::string dir = scratch_folder("record_full");
    const std::string path = dir + "/game.demo";
    spit(path, OLD_DEMO);
    // A file size limit stands in for a full disk: writes past it fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto limit = [&](rlim_t bytes) {
        rlimit l = saved;
        l.rlim_cur = bytes;
        return setrlimit(RLIMIT_FSIZE, &l) == 0;
    };
    DemoRecorder r;
    std::string error;
    ASSERT_TRUE(limit(10));
    const bool started = demo_record_start(r, path, "0.1.0", 0, error);
    ASSERT_TRUE(limit(300));
    EXPECT_FALSE(started);
    EXPECT_EQ(error.rfind(path + ": cannot write the demo", 0), 0u) << error;
    EXPECT_FALSE(exists(path + DEMO_PART_SUFFIX));
    ASSERT_TRUE(demo_record_start(r, path, "0.1.0", 0, error)) << error;
    error.clear();
    const bool recorded = record_passes(r, 200, error);
    const bool later = record_passes(r, 10, error);
    std::string finish_error;
    const bool finished = demo_record_finish(r, finish_error);
    ASSERT_TRUE(limit(saved.rlim_cur));
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(recorded);
    EXPECT_EQ(error.rfind(path + ": cannot write the demo (", 0), 0u) << error;
    EXPECT_NE(error.find("recording stopped, the game goes on"), std::string::npos) << error;
    EXPECT_TRUE(later) << "once stopped, nothing more is written or said";
    EXPECT_FALSE(finished) << "the exit status says it";
    EXPECT_TRUE(finish_error.empty()) << finish_error;
    EXPECT_EQ(slurp(path), OLD_DEMO);
}
