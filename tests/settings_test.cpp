// The settings file: the lenient reader, the writer that keeps every byte it
// does not own, and the save that never harms a file of the player's.
#include "session/settings.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "audio/mixer.h"
#include "tests/test_support.h"

namespace {

Settings parse(const std::string& text, std::vector<std::string>& messages) {
    Settings s = settings_default();
    settings_parse(text.data(), text.size(), "settings.ini", s, messages);
    return s;
}

}  // namespace

TEST(Settings, EveryNameIsReadWithCommentsBlankLinesSpacesAndCrlfAllowed) {
    std::vector<std::string> messages;
    const Settings s = parse("\xEF\xBB\xBF# mine\r\n\n  fullscreen=yes \r\nmute = yes\nscale = 0.5\n"
                             "key.fire = X, space\nkey.pause=f1\nkey.left = a\nkey.right = d\nkey.up = w\n"
                             "key.down = Keypad 5, [2]\nkey.mute = f2\nkey.quit = f3\nkey.fullscreen = f4, F11\nkey.screenshot = f5\n"
                             "pad.fire = 3, 4\npad.pause = 9\npad.options = 2\nfilter = sharp\nvsync = yes\nwindow_size = 1600x832\nvolume = 0",
                             messages);
    EXPECT_TRUE(messages.empty()) << messages[0];
    EXPECT_TRUE(s.filter == FILTER_SHARP && s.vsync == 1 && s.window_width == 1600 && s.window_height == 832);
    EXPECT_EQ(s.volume, 0);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_TRUE(s.mute);
    EXPECT_EQ(s.scale_mode, SETTINGS_SCALE_FACTOR);
    EXPECT_DOUBLE_EQ(s.scale, 0.5);
    const std::pair<InputAction, std::vector<int>> keys[] = {
        {ACTION_FIRE, {SDLK_x, SDLK_SPACE}}, {ACTION_PAUSE, {SDLK_F1}}, {ACTION_LEFT, {SDLK_a}},
        {ACTION_RIGHT, {SDLK_d}},           {ACTION_UP, {SDLK_w}},      {ACTION_DOWN, {SDLK_KP5, SDLK_KP2}},
        {ACTION_MUTE, {SDLK_F2}},           {ACTION_QUIT, {SDLK_F3}},   {ACTION_FULLSCREEN, {SDLK_F4, SDLK_F11}},
        {ACTION_SCREENSHOT, {SDLK_F5}}};
    for (const auto& [action, syms] : keys) {
        const KeyBinding& k = s.bindings.actions[action];
        EXPECT_EQ(std::vector<int>(k.keys, k.keys + k.count), syms) << action;
    }
    EXPECT_EQ(s.bindings.pad_fire, (1u << 3) | (1u << 4));
    EXPECT_EQ(s.bindings.pad_pause, 1u << 9);
    EXPECT_EQ(s.bindings.pad_options, 1u << 2);
    std::vector<std::string> none;
    // A byte order mark before the first name of a file.
    EXPECT_TRUE(parse("\xEF\xBB\xBFmute = yes\r\n", none).mute);
    EXPECT_EQ(parse("scale = window\n", none).scale_mode, SETTINGS_SCALE_WINDOW);
    EXPECT_EQ(parse("scale = auto\n", none).scale_mode, SETTINGS_SCALE_AUTO);
    EXPECT_EQ(parse("", none).scale_mode, SETTINGS_SCALE_UNSET);
    const Settings other = parse("filter = smooth\nvsync = no\n", none);
    EXPECT_TRUE(other.filter == FILTER_SMOOTH && other.vsync == 0);
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
        {"key.fire = unknown key", "unknown key 'unknown key'"},
        {"key.fire = world 0", "unknown key 'world 0'"},
        {"key.fire = x, F11", "f11 is kept for key.fullscreen and cannot be bound to key.fire"},
        {"key.fullscreen = f12", "f12 is kept for key.screenshot and cannot be bound to key.fullscreen"},
        {"key.quit = f11", "cannot be bound to key.quit; quit stays on escape, q"},
        {"key.fire = z,,x", "an empty key name"},
        {"key.quit =", "an empty key name"},
        {"key.options =", "an empty key name"},
        {"key.quit = a,b,c,d,e,f,g,h,i", "more than 8 keys"},
        {"key.b = x", "unknown name 'key.b'"},
        {"pad.fire = 10", "not a joystick button from 0 to 9: '10'"},
        {"pad.pause = one", "not a joystick button from 0 to 9: 'one'"},
        {"just some words", "expected 'name = value', got 'just some words'"},
        {std::string("mute = y\0es", 11), "NUL byte"},
        {"key.left = \x01\xff", "unknown key '\\x01\\xff'"},
        {"filter = blurry", "filter wants smooth or sharp, not 'blurry'"},
        {"vsync = 1", "vsync wants yes or no, not '1'"},
        {"window_size = 1600", "window_size wants WIDTHxHEIGHT (each from 100 to 16384), not '1600'"},
        {"window_size = 1600x", "not '1600x'"},
        {"window_size = 99x500", "not '99x500'"},
        {"window_size = 500x16385", "not '500x16385'"},
        {"window_size = 99999999999x500", "not '99999999999x500'"},
        {"window_size = 1600 x 832", "not '1600 x 832'"},
        {"volume = 11", "volume wants a whole number from 0 to 10, not '11'"},
        {"volume = 5.5", "not '5.5'"},
        {"volume = 007", "not '007'"},
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
        EXPECT_TRUE(s.window_width == 0 && s.filter == FILTER_SMOOTH && s.vsync == -1 && s.volume == AUDIO_VOLUME_MAX)
            << "the defaults stand: " << line;
    }
}

TEST(Settings, AFloodOfBadLinesIsCutShortAfterTwentyAndTheRestIsCounted) {
    std::string junk;
    for (int i = 0; i < 1000; ++i) junk += "junk " + std::to_string(i) + "\n";
    std::vector<std::string> messages;
    Settings s = settings_default();
    EXPECT_EQ(settings_parse(junk.data(), junk.size(), "/tmp/my.ini", s, messages), 1000);
    ASSERT_EQ(messages.size(), size_t(SETTINGS_MAX_MESSAGES) + 1);
    EXPECT_EQ(messages[19], "/tmp/my.ini:20: expected 'name = value', got 'junk 19'");
    EXPECT_EQ(messages[20], "/tmp/my.ini: and 980 more bad lines");
    messages.clear();
    EXPECT_EQ(settings_parse(junk.data(), junk.find("junk 20"), "f", s, messages), 20) << "twenty are all shown";
    EXPECT_EQ(messages.size(), 20u);
}

TEST(Settings, AKeyBoundToTwoActionsIsReportedAndThePlayerCanAlwaysQuit) {
    std::vector<std::string> messages;
    Settings s = parse("key.fire = q, z\nkey.fullscreen = f4, m, f5\nkey.quit = escape, q, f4\nkey.screenshot = f5\n",
                       messages);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "settings.ini: q is bound to both key.fire and key.quit; it does both",
                            "settings.ini: m is bound to both key.mute and key.fullscreen; it only switches fullscreen",
                            "settings.ini: f4 is bound to both key.quit and key.fullscreen; it quits",
                            "settings.ini: f5 is bound to both key.fullscreen and key.screenshot; it only switches fullscreen"}))
        << "in the order of the actions";
    EXPECT_EQ(s.bindings.actions[ACTION_FIRE].count, 2) << "a conflict is no bad line: the binding stands";
    messages.clear();
    parse("key.fire = x\nkey.quit = q\n", messages);
    EXPECT_TRUE(messages.empty()) << messages[0];
}

#ifndef _WIN32  // a FIFO: POSIX's alone
TEST(Settings, NoFileMeansTheDefaultsAndAnythingButAReadableFileGivesOneLineNamingItAsGiven) {
    const std::string dir = scratch_folder("settings_test_load");
    Settings s = settings_default();
    std::vector<std::string> messages;
    settings_load(dir + "/missing.ini", s, messages);
    settings_load(dir + "/missing/under.ini", s, messages);
    EXPECT_TRUE(messages.empty());
    std::filesystem::create_directory(dir + "/settings.ini");
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    write_file(dir + "/big.ini", std::string((1 << 20) + 1, '#'));
    const std::pair<std::string, std::string> refused[] = {
        {dir + "/settings.ini", ": a folder, not a settings file; using the defaults"},
        {dir + "/fifo", ": not a regular file (a FIFO, a device or a socket), not a settings file; using the defaults"},
        {"/dev/null", ": not a regular file"},
        {dir + "/big.ini", ": larger than 1 MiB"},
        {dir + "/../scratch_settings_test_load/settings.ini", ": a folder"},
    };
    for (const auto& [path, why] : refused) {
        messages.clear();
        settings_load(path, s, messages);  // never waits for a FIFO's writer
        ASSERT_EQ(messages.size(), 1u) << path;
        EXPECT_EQ(messages[0].rfind(path + why, 0), 0u) << messages[0];
    }
    EXPECT_FALSE(s.mute);
    EXPECT_EQ(s.bindings.actions[ACTION_FIRE].keys[0], SDLK_z);
    write_file(dir + "/bad.ini", "mute = yes\nwhat\n");
    messages.clear();
    settings_load(dir + "/../scratch_settings_test_load/bad.ini", s, messages);
    EXPECT_EQ(messages, std::vector<std::string>{dir + "/../scratch_settings_test_load/bad.ini:2: expected 'name = value', got 'what'"});
    EXPECT_TRUE(s.mute);
}

#endif  // _WIN32

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
    // One byte order mark is skipped; a second is the first line's, which
    // the new line then follows.
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(settings_set(mark + mark, "mute", "yes"), mark + mark + "\nmute = yes\n");
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
    write_file(mine, "\xEF\xBB\xBF# mine\r\nkey.fire = x\r\nmute = no\r\n");
    ASSERT_TRUE(settings_save(mine, {{"mute", "yes"}, {"fullscreen", "no"}}, error)) << error;
    EXPECT_EQ(read_file(mine), "\xEF\xBB\xBF# mine\r\nkey.fire = x\r\nmute = yes\r\nfullscreen = no\r\n");
    EXPECT_FALSE(std::filesystem::exists(mine + ".new")) << "the temporary file is gone";
    // A temporary file left by a save cut short is the game's own.
    write_file(mine + ".new", "half");
    ASSERT_TRUE(settings_save(mine, {{"mute", "no"}}, error)) << error;
    EXPECT_EQ(read_file(mine), "\xEF\xBB\xBF# mine\r\nkey.fire = x\r\nmute = no\r\nfullscreen = no\r\n");

    // The temporary file cannot be made: the player's file stays as it was.
    std::filesystem::create_directory(mine + ".new");
    EXPECT_FALSE(settings_save(mine, {{"mute", "yes"}}, error));
    EXPECT_EQ(error, mine + ": cannot write " + mine + ".new beside it (File exists), so mute = yes is not saved");
    EXPECT_EQ(read_file(mine), "\xEF\xBB\xBF# mine\r\nkey.fire = x\r\nmute = no\r\nfullscreen = no\r\n");
    // A file where its folder should be.
    EXPECT_FALSE(settings_save(mine + "/under.ini", {{"mute", "yes"}}, error));
    EXPECT_EQ(error.rfind(mine + "/under.ini: cannot make its folder " + mine + " (", 0), 0u) << error;
    std::filesystem::remove_all(dir);
}

#ifndef _WIN32  // FIFOs, links, modes and threads of this C library: POSIX's alone
TEST(Settings, OnlyARegularFileOfCleanSettingsIsSavedIntoAndEveryOtherIsLeftAsItWas) {
    const std::string dir = scratch_folder("settings_test_refuse");
    // Not settings (a demo), one bad line, a folder, a FIFO, a read-only
    // file, a file with a second name: each stays byte for byte, and the
    // line says why.
    const std::string demo = "#zuba-trilo demo 1\n# game 0.1.0\n4 left fire\n# sync 120 0a1b2c3d\n";
    write_file(dir + "/demo", demo);
    write_file(dir + "/typo.ini", "mute = no\nmtue = yes\n");
    std::filesystem::create_directory(dir + "/folder");
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    write_file(dir + "/locked.ini", "mute = no\n");
    chmod((dir + "/locked.ini").c_str(), 0444);
    write_file(dir + "/twice.ini", "mute = no\n");
    std::filesystem::create_hard_link(dir + "/twice.ini", dir + "/other-name.ini");
    const std::pair<std::string, std::string> refused[] = {
        {"demo", "it does not read as a settings file (1 bad line)"},
        {"typo.ini", "it does not read as a settings file (1 bad line)"},
        {"folder", "it is a folder"},
        {"fifo", "it is not a regular file (a FIFO, a device or a socket)"},
        {"locked.ini", "it is read-only, and is left alone"},
        {"twice.ini", "it has other hard links"},
    };
    for (const auto& [name, why] : refused) {
        const std::string path = dir + "/" + name;
        const std::string before = name == "fifo" || name == "folder" ? "" : read_file(path);
        std::string error;
        EXPECT_FALSE(settings_save(path, {{"mute", "yes"}}, error)) << name;
        EXPECT_EQ(error.rfind(path + ": " + why, 0), 0u) << error;
        EXPECT_NE(error.find("so mute = yes is not saved"), std::string::npos) << error;
        if (!before.empty()) {
            EXPECT_EQ(read_file(path), before) << name;
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir + "/fifo"));
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/folder"));
    EXPECT_EQ(std::filesystem::hard_link_count(dir + "/other-name.ini"), 2u);
    std::filesystem::remove_all(dir);
}

TEST(Settings, ALinkIsFollowedToItsTargetWhichKeepsItsModeAndTheLinkStaysALink) {
    const std::string dir = scratch_folder("settings_test_link");
    std::filesystem::create_directories(dir + "/dotfiles");
    write_file(dir + "/dotfiles/zuba.ini", "mute = no\n");
    chmod((dir + "/dotfiles/zuba.ini").c_str(), 0600);
    std::filesystem::create_directories(dir + "/config");
    std::filesystem::create_symlink("../dotfiles/zuba.ini", dir + "/config/settings.ini");
    std::string error;
    ASSERT_TRUE(settings_save(dir + "/config/settings.ini", {{"mute", "yes"}}, error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/config/settings.ini"));
    EXPECT_EQ(read_file(dir + "/dotfiles/zuba.ini"), "mute = yes\n");
    struct stat st {};
    ASSERT_EQ(stat((dir + "/dotfiles/zuba.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_FALSE(std::filesystem::exists(dir + "/config/settings.ini.new"));
    // A link to a FIFO (or a device: a test never risks the real /dev/null)
    // is followed to it, and it is never replaced.
    ASSERT_EQ(mkfifo((dir + "/dotfiles/pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("dotfiles/pipe", dir + "/pipe.ini");
    EXPECT_FALSE(settings_save(dir + "/pipe.ini", {{"mute", "yes"}}, error));
    EXPECT_EQ(error.rfind(dir + "/pipe.ini: it is not a regular file", 0), 0u) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/pipe.ini"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir + "/dotfiles/pipe"));

    // A file in a folder the player may not write to: the new file cannot be
    // made beside it, so it is left as it was (root may write anywhere).
    std::filesystem::create_directories(dir + "/shut");
    write_file(dir + "/shut/settings.ini", "mute = no\n");
    chmod((dir + "/shut").c_str(), 0555);
    const bool saved = settings_save(dir + "/shut/settings.ini", {{"mute", "yes"}}, error);
    if (geteuid() != 0) {
        EXPECT_FALSE(saved);
        EXPECT_EQ(error.rfind(dir + "/shut/settings.ini: cannot write " + dir + "/shut/settings.ini.new beside it (Permission denied)", 0), 0u) << error;
        EXPECT_EQ(read_file(dir + "/shut/settings.ini"), "mute = no\n");
    } else {
        EXPECT_TRUE(saved) << error;
    }
    chmod((dir + "/shut").c_str(), 0755);
    std::filesystem::remove_all(dir);
}

TEST(Settings, CopiesOfTheGameSavingAtOnceNeverLoseEachOthersChange) {
    const std::string dir = scratch_folder("settings_test_race");
    const std::string path = dir + "/settings.ini";
    // Each copy changes a line of its own, many times over.
    const std::pair<const char*, const char*> changes[] = {
        {"fullscreen", "yes"}, {"mute", "yes"},    {"key.up", "w"},   {"key.down", "s"},
        {"key.left", "a"},     {"key.right", "d"}, {"key.pause", "f1"}, {"pad.fire", "3"}};
    for (int round = 0; round < 25; ++round) {
        write_file(path, "# shared\n");
        std::atomic<int> ready{0};
        std::vector<std::string> errors(std::size(changes));
        std::vector<std::thread> copies;
        for (size_t i = 0; i < std::size(changes); ++i) {
            copies.emplace_back([&, i] {
                ready += 1;
                while (ready < int(std::size(changes))) std::this_thread::yield();
                if (!settings_save(path, {{changes[i].first, changes[i].second}}, errors[i])) errors[i] += "!";
            });
        }
        for (std::thread& t : copies) t.join();
        for (const std::string& e : errors) ASSERT_EQ(e, "") << "round " << round;
        const std::string text = read_file(path);
        for (const auto& [name, value] : changes)
            ASSERT_NE(text.find(std::string(name) + " = " + value + "\n"), std::string::npos)
                << "round " << round << " lost " << name << ":\n" << text;
    }
    std::filesystem::remove_all(dir);
}

#endif  // _WIN32
