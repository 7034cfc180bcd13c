// Replay scripts and the replay driver's command line: good input parses into
// held keys, bad input is refused with the file and line named.
#include "tools/replay_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/replay_run.h"

namespace {

bool parse(const std::string& text, ReplayScript& script, std::string& error) {
    return replay_parse_script(text.data(), text.size(), "demo.txt", script, error);
}

TEST(ReplayScript, LinesHoldKeysForACountOfPassesSkippingBlanksAndComments) {
    ReplayScript s;
    std::string error;
    ASSERT_TRUE(parse("# a demo\n\n180 -\r\n  \t\n 2\tfire+left \n# end\n1 close\n3 up+down+right+b+c+d+escape\n"
                      "1 close+fire\n",
                      s, error))
        << error;
    ASSERT_EQ(s.lines.size(), 5u);
    EXPECT_EQ(s.total_passes, 187u);
    EXPECT_EQ(s.lines[0].passes, 180u);
    EXPECT_EQ(s.lines[0].keys, 0u);
    EXPECT_FALSE(s.lines[0].close);
    EXPECT_EQ(s.lines[0].source_line, 3);
    EXPECT_EQ(s.lines[1].keys, uint32_t(REPLAY_FIRE | REPLAY_LEFT));
    EXPECT_EQ(s.lines[1].source_line, 5);
    EXPECT_TRUE(s.lines[2].close);
    EXPECT_EQ(s.lines[2].keys, 0u);
    EXPECT_EQ(s.lines[3].keys, uint32_t(REPLAY_UP | REPLAY_DOWN | REPLAY_RIGHT | REPLAY_B | REPLAY_C |
                                        REPLAY_D | REPLAY_ESCAPE));
    EXPECT_TRUE(s.lines[4].close);
    EXPECT_EQ(s.lines[4].keys, uint32_t(REPLAY_FIRE));
    ASSERT_TRUE(parse("", s, error));
    EXPECT_TRUE(s.lines.empty());
}

TEST(ReplayScript, ABadLineIsRefusedNamingTheFileAndLine) {
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"0 -", "demo.txt:1: "},
        {"-3 fire", "demo.txt:1: "},
        {"\n\n12", "demo.txt:3: "},
        {"# ok\n5 fire extra", "demo.txt:2: "},
        {"5 jump", "demo.txt:1: "},
        {"5 fire+", "demo.txt:1: "},
        {"5 +fire", "demo.txt:1: "},
        {"5 FIRE", "demo.txt:1: "},
        {"5 -+fire", "demo.txt:1: "},
        {"5x fire", "demo.txt:1: "},
        {"1000000001 -", "demo.txt:1: "},
        {"99999999999999999999999 -", "demo.txt:1: "},
        {std::string("1 -\n2 fi\0re\n", 12), "demo.txt:2: "},
        {"1 -\n2 \xff\xfe", "demo.txt:2: "},
    };
    for (const auto& [text, prefix] : bad) {
        ReplayScript s;
        std::string error;
        EXPECT_FALSE(parse(text, s, error)) << text;
        EXPECT_EQ(error.rfind(prefix, 0), 0u) << "'" << text << "' gave: " << error;
        EXPECT_GT(error.size(), prefix.size()) << "says what is wrong";
    }
}

TEST(ReplayScript, AMissingScriptFileIsNamed) {
    ReplayScript s;
    std::string error;
    EXPECT_FALSE(replay_load_script("/nonexistent/demo.txt", s, error));
    EXPECT_EQ(error.rfind("/nonexistent/demo.txt: ", 0), 0u) << error;
}

bool parse_args(std::vector<const char*> args, std::string& script, ReplayOptions& options,
                std::string& error) {
    args.insert(args.begin(), "zuba-trilo-replay");
    return replay_parse_args(int(args.size()), const_cast<char**>(args.data()), script, options, error);
}

TEST(ReplayArguments, OptionsAreReadAndMistakesRefused) {
    std::string script, error;
    ReplayOptions o;
    ASSERT_TRUE(parse_args({"demo.txt", "--trace", "t.jsonl", "--trace-every", "10", "--dump", "1:a.ppm",
                            "--dump", "182:b:c.ppm", "--summary"},
                           script, o, error))
        << error;
    EXPECT_EQ(script, "demo.txt");
    EXPECT_EQ(o.trace_path, "t.jsonl");
    EXPECT_EQ(o.trace_every, 10u);
    ASSERT_EQ(o.dumps.size(), 2u);
    EXPECT_EQ(o.dumps[0].pass, 1u);
    EXPECT_EQ(o.dumps[0].path, "a.ppm");
    EXPECT_EQ(o.dumps[1].pass, 182u);
    EXPECT_EQ(o.dumps[1].path, "b:c.ppm");
    EXPECT_TRUE(o.summary);

    const std::vector<std::vector<const char*>> bad = {
        {},
        {"demo.txt", "other.txt"},
        {"demo.txt", "--trace"},
        {"demo.txt", "--trace-every", "0"},
        {"demo.txt", "--trace-every", "x"},
        {"demo.txt", "--trace-every"},
        {"demo.txt", "--dump", "1"},
        {"demo.txt", "--dump", "a:b.ppm"},
        {"demo.txt", "--dump", "1:"},
        {"demo.txt", "--fast"},
    };
    for (const auto& args : bad) {
        std::string s, e;
        ReplayOptions opt;
        EXPECT_FALSE(parse_args(args, s, opt, e)) << (args.empty() ? "(none)" : args.back());
        EXPECT_FALSE(e.empty());
    }
}

TEST(ReplayTimes, TheMedianIsGoodToAboutOnePercentAndTheWorstIsExact) {
    PassTimes t;
    for (int i = 1; i <= 999; ++i) pass_times_add(t, double(i));
    pass_times_add(t, 123456.0);
    EXPECT_EQ(t.count, 1000u);
    EXPECT_DOUBLE_EQ(t.worst_micros, 123456.0);
    EXPECT_NEAR(pass_times_median(t), 500.0, 5.0);
    PassTimes empty;
    EXPECT_EQ(pass_times_median(empty), 0.0);
}

}  // namespace
