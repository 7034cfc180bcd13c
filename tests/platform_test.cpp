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

std::string read_all(const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[256];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

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
    EXPECT_EQ(read_all(file), "first\n") << "bytes come back as written: no text mode";
    EXPECT_FALSE(platform_make_folders(platform_path(file, "under-a-file")));

    // Replacing puts the new file in the old one's place, whole.
    const std::string next = file + ".new";
    ASSERT_TRUE(write_all(std::fopen(next.c_str(), "wb"), "second\r\nline\n"));
    ASSERT_TRUE(platform_replace_file(next, file));
    EXPECT_EQ(read_all(file), "second\r\nline\n");
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
