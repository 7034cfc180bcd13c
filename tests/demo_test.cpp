// Demos recorded and played: a recording never destroys a file, and the demo
// player steps, checks and judges a demo alike for every program.
#include "replay/demo.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <csignal>
#include <string>

#include "input/input.h"
#include "replay/demo_player.h"
#include "replay/replay_program.h"
#include "replay/replay_script.h"
#include "tests/test_support.h"

#ifndef _WIN32  // FIFOs, symbolic links, folder modes and a file size limit: POSIX's alone
namespace {

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
    ASSERT_TRUE(write_file(dir + "/notes.txt", "my notes\n"));
    ASSERT_TRUE(write_file(dir + "/program", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10)));
    ASSERT_TRUE(write_file(dir + "/read-only.demo", OLD_DEMO));
    ASSERT_EQ(chmod((dir + "/read-only.demo").c_str(), 0444), 0);
    ASSERT_EQ(symlink("notes.txt", (dir + "/link.demo").c_str()), 0);
    ASSERT_EQ(mkfifo((dir + "/fifo.demo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((dir + "/folder.demo").c_str(), 0700), 0);
    for (const std::string& path : {dir + "/notes.txt", dir + "/program", dir + "/read-only.demo",
                                    dir + "/link.demo", dir + "/fifo.demo", dir + "/folder.demo",
                                    std::string("/dev/null")}) {
        const std::string before = read_file(path.find("fifo") == std::string::npos ? path : dir + "/notes.txt");
        DemoRecorder r;
        std::string error;
        EXPECT_FALSE(demo_record_start(r, path, "0.1.0", 0, error)) << path;
        EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
        EXPECT_NE(error.find("no demo recorded"), std::string::npos) << error;
        EXPECT_EQ(read_file(path.find("fifo") == std::string::npos ? path : dir + "/notes.txt"), before) << path;
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
    ASSERT_TRUE(write_file(dir + "/real/game.demo", OLD_DEMO));
    ASSERT_EQ(chmod((dir + "/real/game.demo").c_str(), 0640), 0);
    ASSERT_EQ(symlink("real/game.demo", (dir + "/link.demo").c_str()), 0);
    DemoRecorder r;
    std::string error;
    ASSERT_TRUE(demo_record_start(r, dir + "/link.demo", "0.1.0", 0, error)) << error;
    // Beside the link's target; a second recording of the same file is refused.
    const std::string part = dir + "/real/game.demo" + DEMO_PART_SUFFIX;
    EXPECT_EQ(read_file(part), "# zuba-trilo demo 1\n# game 0.1.0\n# rules 1\n# hash 1\n") << "the header is on the disk before play";
    DemoRecorder second;
    std::string second_error;
    EXPECT_FALSE(demo_record_start(second, dir + "/real/game.demo", "0.1.0", 0, second_error));
    EXPECT_EQ(second_error.rfind(part + ": already there", 0), 0u) << second_error;
    ASSERT_TRUE(record_passes(r, 5, error)) << error;
    // Killed here, the old demo is whole and the new one plays.
    EXPECT_EQ(read_file(dir + "/real/game.demo"), OLD_DEMO);
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
    ASSERT_TRUE(write_file(dir + "/real/game.demo", OLD_DEMO));
    ASSERT_TRUE(demo_record_start(r, dir + "/real/game.demo", "0.1.0", 0, error)) << error;
    demo_record_abandon(r);
    EXPECT_FALSE(exists(part));
    EXPECT_EQ(read_file(dir + "/real/game.demo"), OLD_DEMO);
}

TEST(DemoRecording, AFailedWriteIsReportedBeforePlayOrAtOnceAndTheOldDemoStays) {
    const std::string dir = scratch_folder("record_full");
    const std::string path = dir + "/game.demo";
    ASSERT_TRUE(write_file(path, OLD_DEMO));
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
    EXPECT_EQ(read_file(path), OLD_DEMO);
}

#endif  // _WIN32

namespace {

// A demo player started on a script of these lines, which it keeps until the
// next call.
DemoPlayer& player_of(const std::string& text, const char* name = "keys") {
    static ReplayScript script;
    static DemoPlayer player;
    std::string error;
    EXPECT_TRUE(replay_parse_script(text.data(), text.size(), name, script, error)) << error;
    demo_player_start(player, script);
    return player;
}

}  // namespace

TEST(DemoPlayer, EachPassReachesTheGameAsHeldBitsWithAPressOnlyWhereAKeyGoesDown) {
    // Escape quits where it goes down; a window close comes once, before its line.
    DemoPlayer& keys = player_of("1 -\n2 escape\n2 close\n1 escape\n");
    const bool quits[] = {false, true, false, true, false, true};
    const bool closes[] = {false, false, false, true, false, false};
    DemoPass pass{};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(demo_player_next(keys, pass));
        EXPECT_EQ(pass.quit, quits[i]) << "pass " << i;
        EXPECT_EQ(pass.close, closes[i]) << "pass " << i;
    }
    EXPECT_FALSE(demo_player_next(keys, pass));
    DemoPlayer& fed = player_of("2 fire\n1 left+pause\n1 -\n");
    input_release_all();
    input_take_presses();
    const uint32_t held[] = {INPUT_A, INPUT_A, INPUT_LEFT, 0};
    const uint32_t presses[] = {PRESS_FIRE, 0, PRESS_PAUSE, 0};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(demo_player_next(fed, pass));
        demo_player_feed(pass);
        EXPECT_EQ(input_held(), held[i]) << "pass " << i;
        EXPECT_EQ(input_take_presses(), presses[i]) << "pass " << i;
    }
}

TEST(DemoPlayer, TheVerdictIsOneTableOfStatusesForEveryProgram) {
    auto verdict = [](const std::string& text, int passes, std::string& message) {
        DemoPlayer& player = player_of(text, "my.demo");
        DemoPass pass{};
        for (int i = 0; i < passes; ++i) EXPECT_TRUE(demo_player_next(player, pass));
        return demo_player_verdict(player, "my.demo", message);
    };
    std::string message;
    // The demo quits before a sync line: that line was never met.
    EXPECT_EQ(verdict("# zuba-trilo demo 1\n1 escape\n5 -\n# sync 5 0\n", 1, message), DEMO_STATUS_OUT_OF_SYNC);
    EXPECT_EQ(message, "my.demo: out of sync at pass 5");
    // The player stopped watching: nothing is wrong with the demo.
    EXPECT_EQ(verdict("# zuba-trilo demo 1\n6 -\n# sync 5 0\n", 1, message), DEMO_STATUS_DONE);
    EXPECT_EQ(message, "");
    EXPECT_EQ(verdict("# zuba-trilo demo 1\n3 -\n2 le", 3, message), DEMO_STATUS_CUT_OFF);
    EXPECT_EQ(message.rfind("my.demo:3: the demo stops in the middle of this line", 0), 0u) << message;
    // The replay driver gives that status for that file.
    const std::string path = scratch_folder("verdict") + "/cut.demo";
    ASSERT_TRUE(write_file(path, "# zuba-trilo demo 1\n3 -\n2 le"));
    const char* args[] = {"zuba-trilo-replay", path.c_str(), nullptr};
    EXPECT_EQ(replay_main(2, const_cast<char**>(args)), DEMO_STATUS_CUT_OFF);
}
