// What differs between operating systems, behind one function per concern.
// platform_posix.cpp serves Linux and the browser, platform_windows.cpp
// Windows; the build compiles exactly one of them.
#pragma once
#include <cstdio>
#include <string>

// Sets the environment variable `name` to `value`; when `overwrite` is false
// a value already set (by the player, or by a test) is kept.
void platform_set_env(const char* name, const char* value, bool overwrite);

// The process's peak resident memory in bytes, or -1 where the platform
// cannot tell.
long long platform_peak_memory_bytes();

// The folders a player's files live in, each with "zuba-trilo" added: the
// settings (XDG_CONFIG_HOME, by default ~/.config; %APPDATA% on Windows) and
// the data such as screenshots (XDG_DATA_HOME, by default ~/.local/share;
// %APPDATA% on Windows). A portable Windows copy (the marker file
// PLATFORM_PORTABLE_MARKER beside the exe) keeps both in the folder
// "zuba-trilo" beside the exe instead, while it can write there. Empty when
// the platform cannot tell.
std::string platform_config_folder();
std::string platform_data_folder();
inline constexpr const char* PLATFORM_PORTABLE_MARKER = "portable.txt";

// `name` inside `folder`, joined with the platform's own separator, so that
// a path the game prints reads as the player's system writes paths.
std::string platform_path(const std::string& folder, const std::string& name);

// Creates the folder and every missing parent; true when it exists after.
bool platform_make_folders(const std::string& path);

// Creates a file that did not exist, for writing; null when the name is taken
// or the file cannot be created (errno says why).
std::FILE* platform_create_new_file(const std::string& path);

// Puts `from` in the place of `to` in one step, replacing what was there, so
// a reader sees the old file or the new one, never half of either.
bool platform_replace_file(const std::string& from, const std::string& to);

// Lets --help, --version and the errors reach the console the program was
// started from. A Windows program with a window has no console of its own:
// this attaches to its parent's, where there is one, for the standard
// streams that are not already redirected to a file or pipe. Elsewhere the
// streams are there already and nothing happens. Called first thing in main.
void platform_attach_console();
