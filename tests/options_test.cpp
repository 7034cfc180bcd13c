// The command line: one table of options for the parser, --help, the README
// and the manual page.
#include "app/options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

struct ParseCase {
    std::vector<const char*> args;
    OptionsResult result;
    bool fullscreen, window, frame_stats;
    double scale;
    const char* error_part;  // a piece of the error line, or ""
};

}  // namespace

TEST(Options, EveryOptionAndEveryBadOneIsReadAsThePlayerMeantIt) {
    const ParseCase cases[] = {
        {{}, OPTIONS_RUN, false, false, false, 0, ""},
        {{"--fullscreen", "--frame-stats"}, OPTIONS_RUN, true, false, true, 0, ""},
        {{"--window", "--fullscreen"}, OPTIONS_RUN, true, true, false, 0, ""},
        {{"--scale", "0.25"}, OPTIONS_RUN, false, false, false, 0.25, ""},
        {{"--scale=2"}, OPTIONS_RUN, false, false, false, 2.0, ""},
        {{"--scale", "0.7", "--version"}, OPTIONS_VERSION, false, false, false, 0.7, ""},
        {{"--bogus", "--help"}, OPTIONS_ERROR, false, false, false, 0, "unknown option '--bogus'"},
        {{"--fullscreen", "--help"}, OPTIONS_HELP, true, false, false, 0, ""},
        {{"-f"}, OPTIONS_ERROR, false, false, false, 0, "'-f'"},
        {{"--scales=1"}, OPTIONS_ERROR, false, false, false, 0, "'--scales=1'"},
        {{"--scale"}, OPTIONS_ERROR, false, false, false, 0, "needs a value"},
        {{"--scale", "0.249"}, OPTIONS_ERROR, false, false, false, 0, "not '0.249'"},
        {{"--scale", "2.01"}, OPTIONS_ERROR, false, false, false, 0, "not '2.01'"},
        {{"--scale", "0.5x"}, OPTIONS_ERROR, false, false, false, 0, "not '0.5x'"},
        {{"--scale", "0x1"}, OPTIONS_ERROR, false, false, false, 0, "not '0x1'"},
        {{"--scale", "nan"}, OPTIONS_ERROR, false, false, false, 0, "not 'nan'"},
        {{"--scale", " 1"}, OPTIONS_ERROR, false, false, false, 0, "not ' 1'"},
        {{"--scale="}, OPTIONS_ERROR, false, false, false, 0, "option '--scale' needs a value"},
        {{"--window", "--scale", "1"}, OPTIONS_ERROR, false, false, false, 0, "exclude each other"},
        {{"--record"}, OPTIONS_ERROR, false, false, false, 0, "needs a value"},
        {{"--playdemo="}, OPTIONS_ERROR, false, false, false, 0, "option '--playdemo' needs a value"},
        {{"--record", ""}, OPTIONS_ERROR, false, false, false, 0, "option '--record' needs a value"},
        {{"--timedemo"}, OPTIONS_ERROR, false, false, false, 0, "option '--timedemo' needs a value"},
        {{"--record", "a", "--timedemo=b"}, OPTIONS_ERROR, false, false, false, 0, "exclude each other"},
        {{"--window=yes"}, OPTIONS_ERROR, false, false, false, 0, "unknown option '--window=yes'"},
        {{"--settings"}, OPTIONS_ERROR, false, false, false, 0, "option '--settings' needs a value"},
        {{"--settings="}, OPTIONS_ERROR, false, false, false, 0, "option '--settings' needs a value"},
        {{"--settings=a.ini", "--window"}, OPTIONS_RUN, false, true, false, 0, ""},
    };
    for (const ParseCase& c : cases) {
        std::vector<const char*> argv{"zuba-trilo"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::string line = c.args.empty() ? "(none)" : "";
        for (const char* a : c.args) line += std::string(a) + " ";
        SCOPED_TRACE(line);
        Options o;
        char error[128] = "";
        ASSERT_EQ(options_parse(int(argv.size()), argv.data(), o, error, sizeof error), c.result);
        EXPECT_NE(std::strstr(error, c.error_part), nullptr) << error;
        if (c.result == OPTIONS_ERROR) continue;
        EXPECT_EQ(o.fullscreen, c.fullscreen);
        EXPECT_EQ(o.window, c.window);
        EXPECT_EQ(o.frame_stats, c.frame_stats);
        EXPECT_DOUBLE_EQ(o.scale, c.scale);
    }
    // Each file option keeps its file name.
    Options o;
    const char* argv[] = {"zuba-trilo", "--settings", "my.ini", "--timedemo", "c.demo"};
    char error[128] = "";
    ASSERT_EQ(options_parse(5, argv, o, error, sizeof error), OPTIONS_RUN) << error;
    EXPECT_STREQ(o.settings, "my.ini");
    EXPECT_STREQ(o.timedemo, "c.demo");
    EXPECT_TRUE(o.record == nullptr && o.playdemo == nullptr);
    const char* record[] = {"zuba-trilo", "--record=a.demo"};
    ASSERT_EQ(options_parse(2, record, o, error, sizeof error), OPTIONS_RUN) << error;
    EXPECT_STREQ(o.record, "a.demo");
}

namespace {

// Options as "--name" or "--name VALUE" (any value word counts as VALUE),
// from every line that starts with `lead`: the name is the first word after
// it, and a value is any word before `stop`.
using OptionList = std::vector<std::string>;

OptionList options_in(const std::string& text, const std::string& lead, const std::string& stop) {
    OptionList out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(lead, 0) != 0) continue;
        std::string rest = line.substr(lead.size());
        rest = rest.substr(0, rest.find(stop));
        std::istringstream words(rest);
        std::string name, value;
        words >> name >> value;
        if (name.rfind("--", 0) == 0) out.push_back(name + (value.empty() ? "" : " VALUE"));
    }
    return out;
}

}  // namespace

TEST(Options, TheHelpTheReadmeAndTheManualPageListTheSameOptionsInTheSameOrder) {
    OptionList table;
    for (int i = 0; i < OPTION_COUNT; ++i)
        table.push_back(std::string(OPTION_TABLE[i].name) + (OPTION_TABLE[i].value ? " VALUE" : ""));
    // --help's lines "  --scale F   what it does", the README's table rows
    // "| `--scale F` | ...", the manual's ".BI \-\-scale " factor"".
    const OptionList help = options_in(options_usage(), "  ", "  ");
    const OptionList readme_list = options_in(doc_part("README.md", "| Option | Effect |", "\n\n"), "| `", "`");
    std::string man = doc_part("packaging/zuba-trilo.6", "\n.SH OPTIONS", "\n.SH ");
    for (size_t at; (at = man.find("\\-")) != std::string::npos;) man.erase(at, 1);
    for (size_t at; (at = man.find("\n.BI ")) != std::string::npos;) man.erase(at + 3, 1);
    const OptionList man_list = options_in(man, ".B ", "\n");
    EXPECT_EQ(help, table);
    EXPECT_EQ(readme_list, table);
    EXPECT_EQ(man_list, table);
}
