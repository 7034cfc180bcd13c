// What differs between operating systems, behind one function per concern.
// platform_posix.cpp serves Linux and the browser, platform_windows.cpp
// Windows; the build compiles exactly one of them.
#pragma once
#include <cstdint>
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

// What stands at a path, symbolic links followed. A player's file is read
// and written only when it is a regular file: a folder, a FIFO (which would
// block a reader for ever) or a device gets one clear line instead.
enum PlatformFileKind {
    PLATFORM_FILE_MISSING,  // nothing there (a dangling link counts as nothing)
    PLATFORM_FILE_REGULAR,
    PLATFORM_FILE_FOLDER,
    PLATFORM_FILE_OTHER,    // a FIFO, a device, a socket
    PLATFORM_FILE_ERROR,    // cannot tell (no permission on the folder, ...): error says why
};
struct PlatformFileInfo {
    PlatformFileKind kind;
    uint64_t size;       // bytes, for a regular file
    bool read_only;      // a regular file this process may not write to
    uint32_t mode;       // the permission bits to give a file that replaces it (POSIX; 0 elsewhere)
    uint64_t volume;     // with index, the file's identity: two paths naming
    uint64_t index;      //   one file (a link, a hard link) have the same
    uint32_t links;      // the names (hard links) a regular file has; a new
                         //   file put in the place of one of them parts it from the others
    int error;           // errno, for PLATFORM_FILE_ERROR
};
PlatformFileInfo platform_file_info(const std::string& path);

// True when both name one existing file (after links), whatever the names.
inline bool platform_same_file(const PlatformFileInfo& a, const PlatformFileInfo& b) {
    const auto exists = [](const PlatformFileInfo& i) {
        return i.kind != PLATFORM_FILE_MISSING && i.kind != PLATFORM_FILE_ERROR;
    };
    return exists(a) && exists(b) && a.volume == b.volume && a.index == b.index;
}

// How platform_read_file went.
enum PlatformReadResult {
    PLATFORM_READ_OK,
    PLATFORM_READ_MISSING,      // no file there
    PLATFORM_READ_NOT_REGULAR,  // a folder, a FIFO, a device: never opened for reading in a way that blocks
    PLATFORM_READ_TOO_LARGE,    // more than max_bytes
    PLATFORM_READ_FAILED,       // error says why (errno)
};
// Reads the whole regular file at path, at most max_bytes of it, into text.
// Never blocks on a FIFO and never reads a device.
PlatformReadResult platform_read_file(const std::string& path, size_t max_bytes, std::string& text, int& error);

// The file a path finally names when symbolic links are followed (each link
// may be relative to its own folder), so that a writer replaces the target
// and the link stays a link. The path itself when it is no link, or on a
// platform without them. Gives up after 40 links (a loop) and returns the
// path as given.
std::string platform_resolve_links(const std::string& path);

// Gives the file at path the permission bits of `mode` (from
// PlatformFileInfo); nothing on a platform without them. false on failure.
bool platform_set_mode(const std::string& path, uint32_t mode);

// An exclusive lock that every copy of the game takes before it reads,
// changes and replaces the file at path, so two copies never lose each
// other's change. Waits for another holder. On POSIX it locks the file's
// folder (no extra file); on Windows a "<path>.lock" file beside it.
struct PlatformLock {
    intptr_t handle;  // -1 when not held
};
bool platform_lock_beside(const std::string& path, PlatformLock& lock, int& error);
void platform_unlock(PlatformLock& lock);

// Lets --help, --version and the errors reach the console the program was
// started from. A Windows program with a window has no console of its own:
// this attaches to its parent's, where there is one, for the standard
// streams that are not already redirected to a file or pipe. Elsewhere the
// streams are there already and nothing happens. Called first thing in main.
void platform_attach_console();

// The function `name` of a shared library the process has loaded already
// (`library` as the system's loader names it), without loading anything;
// null when the library is not loaded, lacks the function, or the platform
// cannot look (the browser).
void* platform_loaded_function(const char* library, const char* name);
