// The player's settings file: settings.ini in the platform's settings folder,
// or the file --settings names. Plain text, one "name = value" a line, '#'
// comments and blank lines. Read leniently: a bad line is reported with its
// number and skipped, everything else applies. Written only to remember what
// the player changed in play (fullscreen, mute, the window's size), keeping
// every other byte, only into a file that is clean settings, and replaced in
// one step so a crash never loses it.
#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "input/input.h"
#include "video/view.h"

enum SettingsScale { SETTINGS_SCALE_UNSET, SETTINGS_SCALE_AUTO, SETTINGS_SCALE_WINDOW, SETTINGS_SCALE_FACTOR };

struct Settings {
    bool fullscreen;
    bool mute;
    int volume;  // 0 to AUDIO_VOLUME_MAX
    SettingsScale scale_mode;
    double scale;  // with SETTINGS_SCALE_FACTOR
    int window_width, window_height;  // the window's last size (0: none remembered)
    VideoFilter filter;
    int vsync;  // 1 yes, 0 no, -1 unset
    InputBindings bindings;
};

constexpr const char* SETTINGS_FILE_NAME = "settings.ini";

// The game's defaults: windowed, sound on, the fit left to the game and the
// environment, the game's own keys.
Settings settings_default();

// At most this many bad lines are reported one by one; the rest are counted
// in one last line, so a file of junk cannot flood the terminal.
constexpr int SETTINGS_MAX_MESSAGES = 20;

// A scale factor in range (--scale, the settings file's scale and SDL's
// scaling variable), written as a plain decimal number and nothing else
// ("0.5", not "0.5x" nor " 1"); false leaves scale as it was.
constexpr double SETTINGS_SCALE_MIN = 0.25;
constexpr double SETTINGS_SCALE_MAX = 2.0;
bool settings_read_scale(const char* text, double& scale);

// The window's size as the settings file writes it: "1600x832".
constexpr int SETTINGS_SIZE_MIN = 100;
constexpr int SETTINGS_SIZE_MAX = 16384;
bool settings_read_size(const std::string& text, int& width, int& height);

// Reads the text of a settings file into out (which keeps what the text does
// not set). Each bad line adds one message "NAME:LINE: what is wrong", up to
// SETTINGS_MAX_MESSAGES, then "NAME: and N more bad lines"; a key bound to
// two actions adds "NAME: ..." (the file stays usable). A UTF-8 byte order
// mark and CRLF line ends are read as nothing. Gives the number of bad lines.
int settings_parse(const char* text, size_t length, const std::string& name, Settings& out,
                   std::vector<std::string>& messages);

// Reads the file at path into out, naming it in messages as path was given.
// A missing file is no error; a folder, FIFO or device (never waited on), a
// file over 1 MiB or one that cannot be read adds one message and leaves
// out as it was.
void settings_load(const std::string& path, Settings& out, std::vector<std::string>& messages);

// The text with `name = value` set: every line naming it gets the new value
// with the rest of the line as it was; with no such line, one is added at the
// end. Every other byte stays.
std::string settings_set(const std::string& text, const char* name, const char* value);

// Sets each name to its value (settings_set) in the file at path and gives
// true, or false with one line in error saying why nothing was saved. The
// player's file is never lost nor replaced by what it was not:
// - a symbolic link is followed: its target is replaced, the link stays;
// - only a regular file that reads as settings without one bad line is
//   changed, or a missing one created (with its folder); a folder, FIFO or
//   device, a read-only file, a file with other hard links and a file that
//   is not clean settings are left alone;
// - the new text goes to "<file>.new" beside it, with the old file's mode,
//   and then takes its place in one step;
// - the file is read, changed and replaced under a lock on its folder, so
//   two copies of the game saving at once keep both their changes.
using SettingsChanges = std::vector<std::pair<std::string, std::string>>;
bool settings_save(const std::string& path, const SettingsChanges& changes, std::string& error);
