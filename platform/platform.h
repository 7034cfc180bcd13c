// What differs between operating systems, behind one function per concern.
// platform_posix.cpp serves Linux and the browser, platform_windows.cpp
// Windows; the build compiles exactly one of them.
#pragma once

// Sets the environment variable `name` to `value`; when `overwrite` is false
// a value already set (by the player, or by a test) is kept.
void platform_set_env(const char* name, const char* value, bool overwrite);

// The process's peak resident memory in bytes, or -1 where the platform
// cannot tell.
long long platform_peak_memory_bytes();

// Lets --help, --version and the errors reach the console the program was
// started from. A Windows program with a window has no console of its own:
// this attaches to its parent's, where there is one, for the standard
// streams that are not already redirected to a file or pipe. Elsewhere the
// streams are there already and nothing happens. Called first thing in main.
void platform_attach_console();
