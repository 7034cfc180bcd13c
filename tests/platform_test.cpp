// What differs between operating systems, tried on the one the tests run on:
// the same cases pass on Linux and, built for Windows, under Wine.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/test_support.h"

namespace {

#ifdef _WIN32
constexpr char SEPARATOR = '\\';
#else
constexpr char SEPARATOR = '/';
#endif

bool write_all(std::FILE* f, const std::string& text) {
    const bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return f && std::fclose(f) == 0 && ok;
}

}  // namespace

TEST(Platform, APathTheGameBuildsUsesTheSystemsOwnSeparatorAlone) {
    const std::string joined = platform_path(platform_path("zuba-trilo", "screenshots"), "shot.png");
    EXPECT_EQ(joined, std::string("zuba-trilo") + SEPARATOR + "screenshots" + SEPARATOR + "shot.png");
    // A folder given with a separator at its end gets no second one.
    EXPECT_EQ(platform_path(std::string("base") + SEPARATOR, "name"), std::string("base") + SEPARATOR + "name");
#ifdef _WIN32
    // Windows takes '/', but the game shows '\' alone.
    EXPECT_EQ(platform_path("C:/Users/player/AppData", "zuba-trilo"), "C:\\Users\\player\\AppData\\zuba-trilo");
#endif
}

TEST(Platform, FoldersAreMadeWithTheirParentsAndFilesAreNeverCreatedOverAnother) {
    const std::string base = scratch_folder("platform");
    const std::string deep = platform_path(platform_path(base, "one"), "two");
    ASSERT_TRUE(platform_make_folders(deep));
    EXPECT_TRUE(platform_make_folders(deep)) << "a folder already there is fine";
    const std::string file = platform_path(deep, "file.txt");
    ASSERT_TRUE(write_all(platform_create_new_file(file), "first\n"));
    errno = 0;
    EXPECT_EQ(platform_create_new_file(file), nullptr) << "a name already taken is not created again";
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(read_file(file), "first\n") << "bytes come back as written: no text mode";
    EXPECT_FALSE(platform_make_folders(platform_path(file, "under-a-file")));

    // Replacing puts the new file in the old one's place, whole.
    const std::string next = file + ".new";
    ASSERT_TRUE(write_all(std::fopen(next.c_str(), "wb"), "second\r\nline\n"));
    ASSERT_TRUE(platform_replace_file(next, file));
    EXPECT_EQ(read_file(file), "second\r\nline\n");
    EXPECT_EQ(std::fopen(next.c_str(), "rb"), nullptr);
}

TEST(Platform, AnEnvironmentVariableIsSetOnlyWhenAskedToOverwriteOrUnset) {
    platform_set_env("ZUBA_PLATFORM_TEST", "first", true);
    platform_set_env("ZUBA_PLATFORM_TEST", "second", false);
    ASSERT_NE(std::getenv("ZUBA_PLATFORM_TEST"), nullptr);
    EXPECT_STREQ(std::getenv("ZUBA_PLATFORM_TEST"), "first");
    platform_set_env("ZUBA_PLATFORM_TEST", "third", true);
    EXPECT_STREQ(std::getenv("ZUBA_PLATFORM_TEST"), "third");
}

#ifndef _WIN32
// Links, FIFOs and devices: what a player can put at a path on Linux, where
// the game must tell them apart (the settings, demo and replay tests try
// each on the files they keep, the writers' lock included).
#include <sys/stat.h>
#include <unistd.h>

TEST(PlatformFiles, EveryKindOfPathIsToldApartAndOnlyARegularFileIsRead) {
    const std::string dir = scratch_folder("platform_kinds");
    write_file(dir + "/plain", "abc");
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("plain", (dir + "/link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (dir + "/dangling").c_str()), 0);
    ASSERT_EQ(symlink("link", (dir + "/step").c_str()), 0);
    ASSERT_EQ(symlink("loop2", (dir + "/loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", (dir + "/loop2").c_str()), 0);

    EXPECT_EQ(platform_file_info(dir + "/plain").kind, PLATFORM_FILE_REGULAR);
    EXPECT_EQ(platform_file_info(dir + "/plain").size, 3u);
    EXPECT_EQ(platform_file_info(dir + "/link").kind, PLATFORM_FILE_REGULAR);
    EXPECT_EQ(platform_file_info(dir).kind, PLATFORM_FILE_FOLDER);
    EXPECT_EQ(platform_file_info(dir + "/fifo").kind, PLATFORM_FILE_OTHER);
    EXPECT_EQ(platform_file_info("/dev/null").kind, PLATFORM_FILE_OTHER);
    EXPECT_EQ(platform_file_info(dir + "/dangling").kind, PLATFORM_FILE_MISSING);
    EXPECT_EQ(platform_file_info(dir + "/plain/under").kind, PLATFORM_FILE_MISSING);
    // A chain of links leads to the file; a loop leads nowhere but itself.
    EXPECT_EQ(platform_resolve_links(dir + "/step"), dir + "/plain");
    EXPECT_EQ(platform_resolve_links(dir + "/loop1"), dir + "/loop1");
    EXPECT_TRUE(platform_same_file(platform_file_info(dir + "/plain"), platform_file_info(dir + "/step")));

    std::string text;
    int error = 0;
    EXPECT_EQ(platform_read_file(dir + "/link", 3, text, error), PLATFORM_READ_OK);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(platform_read_file(dir + "/plain", 2, text, error), PLATFORM_READ_TOO_LARGE);
    EXPECT_TRUE(text.empty());
    // A FIFO with no writer would block an ordinary open for ever.
    EXPECT_EQ(platform_read_file(dir + "/fifo", 100, text, error), PLATFORM_READ_NOT_REGULAR);
    EXPECT_EQ(platform_read_file(dir, 100, text, error), PLATFORM_READ_NOT_REGULAR);
    EXPECT_EQ(platform_read_file("/dev/zero", 100, text, error), PLATFORM_READ_NOT_REGULAR);
    EXPECT_EQ(platform_read_file(dir + "/missing", 100, text, error), PLATFORM_READ_MISSING);
}

#endif  // _WIN32
