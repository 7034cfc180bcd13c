// Replay scripts and the replay driver's command line: good input parses into
// held keys, bad input is refused with the file and line named.
#include "replay/replay_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "replay/replay_run.h"

namespace {

bool parse(const std::string& text, ReplayScript& script, std::string& error) {
    return replay_parse_script(text.data(), text.size(), "demo.txt", script, error);
}

TEST(ReplayScript, LinesHoldKeysForUpToABillionPassesSkippingBlanksAndComments) {
    ReplayScript s;
    std::string error;
    ASSERT_TRUE(parse("# a demo\n\n180 -\r\n  \t\n 2\tfire+left \n1 close\n3 up+down+right+b+c+d+escape\n"
                      "1000000000 -\n", s, error))
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

TEST(ReplayScript, ABadLineIsRefusedNamingTheFileAndLine) {
    const std::pair<std::string, std::string> bad[] = {
        {"-3 fire", "demo.txt:1: "},     {"# ok\n5 fire extra", "demo.txt:2: "}, {"5 fire+", "demo.txt:1: "},
        {"5 FIRE", "demo.txt:1: "},      {"5 -+fire", "demo.txt:1: "},           {"5x fire", "demo.txt:1: "},
        {"99999999999999999999999 -", "demo.txt:1: "}, {std::string("1 -\n2 fi\0re\n", 12), "demo.txt:2: "},
    };
    for (const auto& [text, prefix] : bad) {
        ReplayScript s;
        std::string error;
        EXPECT_FALSE(parse(text, s, error)) << text;
        EXPECT_EQ(error.rfind(prefix, 0), 0u) << "'" << text << "' gave: " << error;
        EXPECT_GT(error.size(), prefix.size()) << "says what is wrong";
    }
}

TEST(ReplayArguments, OptionsAreReadAndMistakesRefused) {
    auto parse_args = [](std::vector<const char*> args, std::string& script, ReplayOptions& options) {
        std::string error;
        args.insert(args.begin(), "zuba-trilo-replay");
        return replay_parse_args(int(args.size()), const_cast<char**>(args.data()), script, options, error);
    };
    std::string script;
    ReplayOptions o;
    ASSERT_TRUE(parse_args({"demo.txt", "--trace", "t.jsonl", "--trace-every", "10", "--dump", "182:b:c.ppm", "--summary"},
                           script, o));
    EXPECT_EQ(script, "demo.txt");
    EXPECT_EQ(o.trace_path, "t.jsonl");
    EXPECT_EQ(o.trace_every, 10u);
    ASSERT_EQ(o.dumps.size(), 1u);
    EXPECT_EQ(o.dumps[0].pass, 182u);
    EXPECT_EQ(o.dumps[0].path, "b:c.ppm");
    EXPECT_TRUE(o.summary);
    for (std::vector<const char*> args : {std::vector<const char*>{"demo.txt", "--trace"},
                                          {"demo.txt", "--trace-every", "x"},
                                          {"demo.txt", "--dump", "1:"}}) {
        ReplayOptions opt;
        EXPECT_FALSE(parse_args(args, script, opt)) << args.back();
    }
}

TEST(ReplayTimes, TheMedianIsGoodToAboutOnePercentAndTheWorstIsExact) {
    PassTimes t;
    for (int i = 1; i <= 999; ++i) pass_times_add(t, double(i));
    pass_times_add(t, 123456.0);
    EXPECT_DOUBLE_EQ(t.worst_micros, 123456.0);
    EXPECT_NEAR(pass_times_median(t), 500.0, 5.0);
    EXPECT_EQ(pass_times_median(PassTimes{}), 0.0);
}

}  // namespace
