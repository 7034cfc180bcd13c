// Replay scripts and the replay driver's command line: good input parses into
// held keys, bad input is refused with the file and line named.
#include "replay/replay_script.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "replay/demo.h"
#include "replay/demo_player.h"
#include "replay/replay_args.h"
#include "replay/replay_program.h"
#include "replay/replay_run.h"
#include "replay/world_state.h"
#include "tests/test_support.h"

namespace {

bool parse(const std::string& text, ReplayScript& script, std::string& error) {
    return replay_parse_script(text.data(), text.size(), "demo.txt", script, error);
}

TEST(ReplayScript, LinesHoldKeysForUpToABillionPassesSkippingBlanksAndComments) {
    ReplayScript s;
    std::string error;
    ASSERT_TRUE(parse("# a demo\n\n180 -\r\n  \t\n 2\tfire+left \n1 close\n3 up+down+right+b+c+d+escape\n"
                      "1000000000 -\n# synchronised with the title\n# syncs: none\n", s, error))
        << error;
    ASSERT_EQ(s.lines.size(), 5u);
    EXPECT_EQ(s.total_passes, 186u + REPLAY_MAX_PASSES_PER_LINE);
    EXPECT_EQ(s.lines[1].source_line, 5);
    EXPECT_EQ(s.lines[1].keys, uint32_t(REPLAY_FIRE | REPLAY_LEFT));
    EXPECT_TRUE(s.lines[2].close);
    EXPECT_EQ(s.lines[2].keys, 0u);
    EXPECT_EQ(s.lines[3].keys,
              uint32_t(REPLAY_UP | REPLAY_DOWN | REPLAY_RIGHT | REPLAY_B | REPLAY_C | REPLAY_D | REPLAY_ESCAPE));
}

TEST(Demo, VersionGameAndSyncLinesAreReadAndACutOffLastLineIsLeftOut) {
    ReplayScript s;
    std::string error;
    ASSERT_TRUE(parse("# zuba-trilo demo 1\n# game 0.1.0\n1 -\n# sync 0 00000000000000ff\n5 fire\n"
                      "# sync 5 ffffffffffffffff\n# a note\n3 le", s, error))
        << error;
    EXPECT_EQ(s.demo_version, 1);
    EXPECT_EQ(s.game_version, "0.1.0");
    ASSERT_EQ(s.syncs.size(), 2u);
    EXPECT_EQ(s.syncs[0].hash, 0xffu);
    EXPECT_EQ(s.syncs[1].pass, 5u);
    EXPECT_EQ(s.syncs[1].hash, ~uint64_t(0));
    EXPECT_EQ(s.total_passes, 6u);
    EXPECT_EQ(s.cut_off_line, 8);
    EXPECT_EQ(s.rules_version, 1) << "a demo of 0.1.0 names no rules: it played rules 1";
    EXPECT_EQ(s.hash_version, 1);
    // A byte order mark, CRLF and upper-case hex read as the plain text.
    ASSERT_TRUE(parse("\xef\xbb\xbf# zuba-trilo demo 1\r\n# game 0.2.0\n# rules 1\r\n# hash 1\n1 -\r\n"
                      "# sync 0 00000000000000AB\r\n", s, error))
        << error;
    EXPECT_EQ(s.demo_version, 1);
    ASSERT_EQ(s.syncs.size(), 1u);
    EXPECT_EQ(s.syncs[0].hash, 0xabu);
    // A plain script keeps its unfinished last line.
    ASSERT_TRUE(parse("\xef\xbb\xbf" "1 -\r\n# a note\n2 fire", s, error)) << error;
    EXPECT_EQ(s.total_passes, 3u);
    EXPECT_EQ(s.cut_off_line, 0);
}

TEST(ReplayScript, ABadLineOrDemoHeaderIsRefusedNamingTheFileAndLine) {
    const std::string demo = "# zuba-trilo demo 1\n3 -\n", rest = "# game 0.1.0\n3 -\n# sync 2 00000000000000ff\n";
    const std::string must_begin = "demo.txt:1: a demo must begin";
    const std::string sync = "demo.txt:3: expected '# sync <pass> <hash>'";
    const std::pair<std::string, std::string> bad[] = {
        {"-3 fire", "demo.txt:1: "},     {"# ok\n5 fire extra", "demo.txt:2: "}, {"5 fire+", "demo.txt:1: "},
        {"5 FIRE", "demo.txt:1: "},      {"5 -+fire", "demo.txt:1: "},           {"5x fire", "demo.txt:1: "},
        {"99999999999999999999999 -", "demo.txt:1: "}, {std::string("1 -\n2 fi\0re\n", 12), "demo.txt:2: "},
        // A file with sync lines is a demo, held to its first line.
        {rest, must_begin + " with '# zuba-trilo demo <version>' (its sync lines, from line 3"},
        {"#zuba-trilo demo 1\n" + rest, must_begin}, {" # zuba-trilo demo 1\n" + rest, must_begin},
        {"# zuba-trilo  demo 1\n3 -\n", must_begin}, {"# sync 9 zz\n2 fire", must_begin},
        // Inside a demo a damaged sync line is refused, never passed over.
        {demo + "#sync 2 00\n", sync}, {demo + "  #  sync 2 00\n", sync}, {demo + "# sync 1 0X\n", sync},
        {demo + "# sync 1\n", "demo.txt:3: expected"},
        {demo + "# sync 3 00\n", "demo.txt:3: sync line for pass 3, but the lines above it play 3"},
        {demo + "# sync 2 00\n# sync 2 00\n", "demo.txt:4: sync line for pass 2 after one for pass 2"},
        {"# zuba-trilo demo 2\n", "demo.txt:1: a demo of version 2, newer"},
        {"# zuba-trilo demo one\n", "demo.txt:1: demo version 'one'"},
        // Other rules than ours, or a hash we do not know, would play out of
        // sync: refused at the line that says so, naming what recorded it.
        {"# zuba-trilo demo 1\n# game 0.7.0\n# rules 2\n# hash 1\n3 -\n",
         "demo.txt:3: a demo recorded by zuba-trilo 0.7.0 under the game's rules 2; this program plays rules 1 only"},
        {"# zuba-trilo demo 1\n# rules 1\n# hash 2\n3 -\n",
         "demo.txt:3: a demo recorded with sync hash version 2, which this program does not know"},
        {"# zuba-trilo demo 1\n# rules 0\n", "demo.txt:2: expected '# rules <version>', got '# rules 0'"},
        {"# zuba-trilo demo 1\n# hash one\n", "demo.txt:2: expected '# hash <version>'"},
    };
    for (const auto& [text, start] : bad) {
        ReplayScript s;
        std::string error;
        bool newer = false;
        EXPECT_FALSE(replay_parse_script(text.data(), text.size(), "demo.txt", s, error, &newer)) << text;
        EXPECT_EQ(error.rfind(start, 0), 0u) << "'" << text << "' gave: " << error;
        EXPECT_GT(error.size(), std::string("demo.txt:1: ").size()) << "says what is wrong";
        EXPECT_EQ(newer, start.find("newer") != std::string::npos) << text;
    }
}

#ifndef _WIN32  // a FIFO and a folder's mode: POSIX's alone
TEST(ReplayScript, OnlyANonEmptyRegularFileOfBoundedSizeIsReadAndEveryRefusalNamesThePathAsGiven) {
    const std::string dir = scratch_folder("script_files");
    ASSERT_TRUE(write_file(dir + "/empty.demo", "") && write_file(dir + "/big.demo", ""));
    ASSERT_EQ(truncate((dir + "/big.demo").c_str(), off_t(REPLAY_MAX_SCRIPT_BYTES) + 1), 0);
    ASSERT_EQ(mkfifo((dir + "/fifo.demo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((dir + "/folder.demo").c_str(), 0700), 0);
    const std::pair<std::string, std::string> refused[] = {
        {dir + "/empty.demo", "empty"},          {dir + "/folder.demo", "folder"},
        {dir + "/fifo.demo", "not a regular file"}, {"/dev/zero", "not a regular file"},
        {dir + "/big.demo", "16 MiB"},           {dir + "/missing.demo", "no such file"},
        {dir + "/./folder.demo/..//empty.demo", "empty"},
    };
    for (const auto& [path, says] : refused) {
        ReplayScript s;
        std::string error;
        EXPECT_FALSE(replay_load_script(path, s, error)) << path;
        EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    ASSERT_TRUE(write_file(dir + "/ok.demo", "3 fire\n"));
    ReplayScript s;
    std::string error;
    EXPECT_TRUE(replay_load_script(dir + "/ok.demo", s, error)) << error;
    EXPECT_EQ(s.total_passes, 3u);
}

#endif  // _WIN32

TEST(ScriptWriter, RunsOfKeysBecomeLinesThatParseBackPassForPass) {
    const std::vector<std::pair<uint32_t, bool>> passes = {
        {0, false}, {0, false}, {REPLAY_FIRE | REPLAY_LEFT, false}, {REPLAY_FIRE | REPLAY_LEFT, false},
        {REPLAY_FIRE | REPLAY_LEFT, true}, {0, true}, {REPLAY_ESCAPE, false}};
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ScriptWriter w;
    script_writer_start(w, f);
    for (const auto& [keys, close] : passes) script_writer_pass(w, keys, close);
    script_writer_end_line(w);
    std::string text(size_t(std::ftell(f)), '\0');
    std::rewind(f);
    ASSERT_EQ(std::fread(text.data(), 1, text.size(), f), text.size());
    std::fclose(f);
    EXPECT_EQ(text, "2 -\n2 left+fire\n1 left+fire+close\n1 close\n1 escape\n");
    ReplayScript s;
    std::string error;
    ASSERT_TRUE(parse(text, s, error)) << error;
    DemoPlayer player;
    demo_player_start(player, s);
    for (const auto& [keys, close] : passes) {
        DemoPass pass{};
        ASSERT_TRUE(demo_player_next(player, pass));
        EXPECT_EQ(pass.keys, keys);
        EXPECT_EQ(pass.close, close);
    }
}

TEST(Demo, OneChangedKeyPutsARecordedGameOutOfSyncAtTheNextSyncLine) {
    ReplayScript demo;
    std::string error;
    ASSERT_TRUE(replay_load_script(ZUBA_SOURCE_DIR "/tests/demos/short_game.demo", demo, error)) << error;
    for (ReplayLine& line : demo.lines) {
        if (line.keys != REPLAY_RIGHT) continue;
        line.keys = 0;
        break;
    }
    ReplayResult changed;
    world_reset();
    ASSERT_EQ(replay_run(demo, ReplayOptions{}, changed, error), 0) << error;
    EXPECT_TRUE(changed.out_of_sync);
    EXPECT_EQ(changed.sync_pass, demo.syncs.back().pass);
}

// The demos under tests/demos were recorded live in the window by release
// 0.1.0: every one of them plays in sync to its last pass, for as long as the
// game's rules and the hash's version 1 are kept. Together they reach the
// game-over screen.
TEST(Demo, EveryDemoRecordedByRelease010PlaysInSyncToItsEnd) {
    int demos = 0;
    bool game_over = false;
    for (const auto& entry : std::filesystem::directory_iterator(ZUBA_SOURCE_DIR "/tests/demos")) {
        if (entry.path().extension() != ".demo") continue;
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        ReplayScript demo;
        std::string error;
        ASSERT_TRUE(replay_load_script(path, demo, error)) << error;
        EXPECT_EQ(demo.game_version, "0.1.0");
        ASSERT_GE(demo.syncs.size(), 2u);
        ReplayOptions options;
        options.after_pass = [&](uint64_t, int state) { game_over |= state == SCREEN_GAME_OVER_WAIT; };
        ReplayResult result;
        world_reset();  // as at the start of the program that recorded it
        ASSERT_EQ(replay_run(demo, options, result, error), 0) << error;
        EXPECT_FALSE(result.out_of_sync) << "at pass " << result.sync_pass;
        EXPECT_EQ(result.passes, demo.total_passes);
        EXPECT_TRUE(result.quit);
        demos += 1;
    }
    EXPECT_GE(demos, 3);
    EXPECT_TRUE(game_over) << "no demo plays to the game-over screen";
}

TEST(ReplayArguments, OptionsAreReadAndMistakesRefused) {
    auto parse_args = [](std::vector<const char*> args, std::string& script, ReplayOptions& options) {
        std::string error;
        args.insert(args.begin(), "zuba-trilo-replay");
        return replay_parse_args(int(args.size()), const_cast<char**>(args.data()), script, options, error) ==
               REPLAY_ARGS_RUN;
    };
    std::string script;
    ReplayOptions o;
    // Every option is used by the end-to-end tests; a dump's path may hold a colon.
    ASSERT_TRUE(parse_args({"demo.txt", "--dump", "182:b:c.ppm", "--summary"}, script, o));
    ASSERT_EQ(o.dumps.size(), 1u);
    EXPECT_TRUE(script == "demo.txt" && o.dumps[0].pass == 182u && o.dumps[0].path == "b:c.ppm" && o.summary);
    for (std::vector<const char*> args : {std::vector<const char*>{"demo.txt", "--trace"},
                                          {"demo.txt", "--trace-every", "x"},
                                          {"demo.txt", "--dump", "1:"},
                                          {"demo.txt", "--whole-window"}}) {
        ReplayOptions opt;
        EXPECT_FALSE(parse_args(args, script, opt)) << args.back();
    }
    const char* help[] = {"zuba-trilo-replay", "demo.txt", "--help"};
    const char* version[] = {"zuba-trilo-replay", "--version"};
    ReplayOptions opt;
    std::string error;
    script.clear();
    EXPECT_EQ(replay_parse_args(3, const_cast<char**>(help), script, opt, error), REPLAY_ARGS_HELP);
    EXPECT_EQ(replay_parse_args(2, const_cast<char**>(version), script, opt, error), REPLAY_ARGS_VERSION);
}

#ifndef _WIN32  // symbolic and hard links: POSIX's alone
TEST(ReplayArguments, NoOutputIsTheScriptItselfWhateverItsName) {
    const std::string dir = scratch_folder("outputs");
    const std::string demo = dir + "/game.demo";
    ASSERT_TRUE(write_file(demo, "3 fire\n"));
    ASSERT_EQ(symlink("game.demo", (dir + "/link.demo").c_str()), 0);
    ASSERT_EQ(link(demo.c_str(), (dir + "/hard.demo").c_str()), 0);
    for (const std::string& out : {demo, dir + "/link.demo", dir + "/hard.demo", dir + "/./game.demo"}) {
        ReplayOptions as_trace, as_dump;
        as_trace.trace_path = out;
        as_dump.dumps.push_back({2, out});
        std::string error;
        EXPECT_FALSE(replay_outputs_apart(demo, as_trace, error)) << out;
        EXPECT_EQ(error.rfind(out + ": is the script being played", 0), 0u) << error;
        EXPECT_FALSE(replay_outputs_apart(demo, as_dump, error)) << out;
    }
    ReplayOptions twice;
    twice.trace_path = dir + "/t.jsonl";
    twice.dumps.push_back({2, dir + "/t.jsonl"});
    std::string error;
    EXPECT_FALSE(replay_outputs_apart(demo, twice, error));
    ReplayOptions apart;
    apart.trace_path = dir + "/t.jsonl";
    apart.dumps.push_back({2, dir + "/a.ppm"});
    EXPECT_TRUE(replay_outputs_apart(demo, apart, error)) << error;
    // Through the whole program: refused, and the demo is as it was.
    std::vector<const char*> args = {"zuba-trilo-replay", demo.c_str(), "--trace", "", nullptr};
    const std::string hard = dir + "/hard.demo";
    args[3] = hard.c_str();
    EXPECT_EQ(replay_main(4, const_cast<char**>(args.data())), 2);
    ReplayScript s;
    ASSERT_TRUE(replay_load_script(demo, s, error)) << error;
    EXPECT_EQ(s.total_passes, 3u);
}

#endif  // _WIN32

}  // namespace
