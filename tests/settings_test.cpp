// The settings file: the lenient reader, the writer that keeps every byte it
// does not own, and the atomic replace.
#include "app/settings.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/test_support.h"

namespace {

Settings parse(const std::string& text, std::vector<std::string>& messages) {
    Settings s = settings_default();
    settings_parse(text.data(), text.size(), "settings.ini", s, messages);
    return s;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(Settings, EveryNameIsReadWithCommentsBlankLinesSpacesAndCrlfAllowed) {
    std::vector<std::string> messages;
    const Settings s = parse("# mine\r\n\n  fullscreen=yes \r\nmute = yes\nscale = 0.5\n"
                             "key.fire = X, space\nkey.pause=f1\nkey.left = a\nkey.right = d\nkey.up = w\n"
                             "key.down = s\nkey.mute = f2\nkey.quit = f3\nkey.fullscreen = f4\nkey.screenshot = f5\n"
                             "pad.fire = 3, 4\npad.pause = 9",
                             messages);
    EXPECT_TRUE(messages.empty()) << messages[0];
    EXPECT_TRUE(s.fullscreen);
    EXPECT_TRUE(s.mute);
    EXPECT_EQ(s.scale_mode, SETTINGS_SCALE_FACTOR);
    EXPECT_DOUBLE_EQ(s.scale, 0.5);
    const std::pair<InputAction, std::vector<int>> keys[] = {
        {ACTION_FIRE, {SDLK_x, SDLK_SPACE}}, {ACTION_PAUSE, {SDLK_F1}}, {ACTION_LEFT, {SDLK_a}},
        {ACTION_RIGHT, {SDLK_d}},           {ACTION_UP, {SDLK_w}},      {ACTION_DOWN, {SDLK_s}},
        {ACTION_MUTE, {SDLK_F2}},           {ACTION_QUIT, {SDLK_F3}},   {ACTION_FULLSCREEN, {SDLK_F4}},
        {ACTION_SCREENSHOT, {SDLK_F5}}};
    for (const auto& [action, syms] : keys) {
        const KeyBinding& k = s.bindings.actions[action];
        EXPECT_EQ(std::vector<int>(k.keys, k.keys + k.count), syms) << action;
    }
    EXPECT_EQ(s.bindings.pad_fire, (1u << 3) | (1u << 4));
    EXPECT_EQ(s.bindings.pad_pause, 1u << 9);
    std::vector<std::string> none;
    EXPECT_EQ(parse("scale = window\n", none).scale_mode, SETTINGS_SCALE_WINDOW);
    EXPECT_EQ(parse("scale = auto\n", none).scale_mode, SETTINGS_SCALE_AUTO);
    EXPECT_EQ(parse("", none).scale_mode, SETTINGS_SCALE_UNSET);
    EXPECT_TRUE(none.empty());
}

TEST(Settings, EachBadLineGivesOneMessageWithItsNumberAndIsIgnoredWhileTheRestApplies) {
    const std::pair<std::string, std::string> bad[] = {
        {"colour = green", "unknown name 'colour'"},
        {"fullscreen = maybe", "fullscreen wants yes or no, not 'maybe'"},
        {"mute = YES", "mute wants yes or no, not 'YES'"},
        {"scale = 3", "scale wants auto, window or a number from 0.25 to 2.0, not '3'"},
        {"scale = 0.5x", "not '0.5x'"},
        {"key.fire = nosuch", "unknown key 'nosuch'"},
        {"key.fire = z,,x", "an empty key name"},
        {"key.fire =", "an empty key name"},
        {"key.quit = a,b,c,d,e,f,g,h,i", "more than 8 keys"},
        {"key.b = x", "unknown name 'key.b'"},
        {"pad.fire = 10", "not a joystick button from 0 to 9: '10'"},
        {"pad.pause = one", "not a joystick button from 0 to 9: 'one'"},
        {"just some words", "expected 'name = value', got 'just some words'"},
        {std::string("mute = y\0es", 11), "NUL byte"},
        {"key.left = \x01\xff", "unknown key '\\x01\\xff'"},
    };
    for (const auto& [line, why] : bad) {
        std::vector<std::string> messages;
        const Settings s = parse("mute = yes\n# two\n" + line + "\nkey.fire = x\nfullscreen = yes\n", messages);
        ASSERT_EQ(messages.size(), 1u) << line;
        EXPECT_EQ(messages[0].rfind("settings.ini:3: ", 0), 0u) << messages[0];
        EXPECT_NE(messages[0].find(why), std::string::npos) << messages[0];
        EXPECT_TRUE(s.mute && s.fullscreen) << line;
        EXPECT_EQ(s.bindings.actions[ACTION_FIRE].keys[0], SDLK_x) << line;
        EXPECT_EQ(s.bindings.actions[ACTION_LEFT].keys[0], SDLK_LEFT) << "a bad line changes nothing: " << line;
    }
}

TEST(Settings, NoFileMeansTheDefaultsAndAFileThatCannotBeReadGivesOneLineAndTheDefaults) {
    const std::string dir = scratch_folder("settings_test_load");
    Settings s = settings_default();
    std::vector<std::string> messages;
    settings_load(dir + "/missing.ini", s, messages);
    EXPECT_TRUE(messages.empty());
    std::filesystem::create_directory(dir + "/settings.ini");
    settings_load(dir + "/settings.ini", s, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("settings.ini: cannot read it", 0), 0u) << messages[0];
    EXPECT_FALSE(s.mute);
    EXPECT_EQ(s.bindings.actions[ACTION_FIRE].keys[0], SDLK_z);
}

TEST(Settings, SettingAValueChangesOnlyThatValueAndKeepsEveryOtherByte) {
    const std::string kept = "# my keys\r\n\n  weird name = 7\nkey.fire = x # after\n";
    // The value is swapped in place: the spacing and the line end stay.
    EXPECT_EQ(settings_set(kept + "mute\t=  no  \r\nscale=1", "mute", "yes"),
              kept + "mute\t=  yes  \r\nscale=1");
    // Missing: one line at the end, after a line break the text lacked.
    EXPECT_EQ(settings_set(kept + "scale=1", "fullscreen", "no"), kept + "scale=1\nfullscreen = no\n");
    EXPECT_EQ(settings_set("", "mute", "yes"), "mute = yes\n");
    // A comment naming it is not it.
    EXPECT_EQ(settings_set("# mute = no\n", "mute", "yes"), "# mute = no\nmute = yes\n");
    // Every line that sets it changes, so the last one, which wins, has it.
    EXPECT_EQ(settings_set("mute = no\nmute = no\n", "mute", "yes"), "mute = yes\nmute = yes\n");
}

TEST(Settings, SavingCreatesTheFileAndFolderOrReplacesItWholeAndAFailedSaveLosesNothing) {
    const std::string dir = scratch_folder("settings_test_save");
    const std::string path = dir + "/new/zuba-trilo/settings.ini";
    std::string error;
    ASSERT_TRUE(settings_save(path, {{"fullscreen", "yes"}}, error)) << error;
    std::vector<std::string> messages;
    Settings s = settings_default();
    settings_load(path, s, messages);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_TRUE(messages.empty());

    const std::string mine = dir + "/settings.ini";
    spit(mine, "# mine\nkey.fire = x\nmute = no\nunknown = kept\n");
    ASSERT_TRUE(settings_save(mine, {{"mute", "yes"}, {"fullscreen", "no"}}, error)) << error;
    EXPECT_EQ(slurp(mine), "# mine\nkey.fire = x\nmute = yes\nunknown = kept\nfullscreen = no\n");
    EXPECT_FALSE(std::filesystem::exists(mine + ".new")) << "the temporary file is gone";

    // The temporary file cannot be made: the player's file stays as it was.
    std::filesystem::create_directory(mine + ".new");
    EXPECT_FALSE(settings_save(mine, {{"mute", "no"}}, error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_EQ(slurp(mine), "# mine\nkey.fire = x\nmute = yes\nunknown = kept\nfullscreen = no\n");
    // Nor is a file that cannot be read overwritten.
    EXPECT_FALSE(settings_save(dir, {{"mute", "no"}}, error));
    std::filesystem::remove_all(dir);
}

TEST(Settings, TheFilterVsyncAndRememberedWindowSizeAreReadAndBadValuesRefused) {
    std::vector<std::string> messages;
    Settings s = parse("filter = sharp\nvsync = yes\nwindow_size = 1600x832\n", messages);
    EXPECT_TRUE(messages.empty()) << messages[0];
    EXPECT_EQ(s.filter, FILTER_SHARP);
    EXPECT_EQ(s.vsync, 1);
    EXPECT_EQ(s.window_width, 1600);
    EXPECT_EQ(s.window_height, 832);
    s = parse("filter = smooth\nvsync = no\n", messages);
    EXPECT_EQ(s.filter, FILTER_SMOOTH);
    EXPECT_EQ(s.vsync, 0);
    EXPECT_EQ(settings_default().vsync, -1) << "unset: SDL's own choice";
    EXPECT_EQ(settings_default().filter, FILTER_SMOOTH);
    EXPECT_EQ(settings_default().window_width, 0);
    const std::pair<std::string, std::string> bad[] = {
        {"filter = blurry", "filter wants smooth or sharp, not 'blurry'"},
        {"vsync = 1", "vsync wants yes or no, not '1'"},
        {"window_size = 1600", "window_size wants WIDTHxHEIGHT (each from 100 to 16384), not '1600'"},
        {"window_size = 1600x", "not '1600x'"},
        {"window_size = 99x500", "not '99x500'"},
        {"window_size = 500x16385", "not '500x16385'"},
        {"window_size = 1600x832x", "not '1600x832x'"},
        {"window_size = -5x500", "not '-5x500'"},
        {"window_size = 99999999999x500", "not '99999999999x500'"},
        {"window_size = 1600 x 832", "not '1600 x 832'"},
    };
    for (const auto& [line, why] : bad) {
        messages.clear();
        s = parse(line + "\n", messages);
        ASSERT_EQ(messages.size(), 1u) << line;
        EXPECT_NE(messages[0].find(why), std::string::npos) << messages[0];
        EXPECT_EQ(s.window_width, 0) << line;
        EXPECT_EQ(s.filter, FILTER_SMOOTH) << line;
        EXPECT_EQ(s.vsync, -1) << line;
    }
}
