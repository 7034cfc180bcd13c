// The player's settings in the browser: the text of a settings file kept in
// the page's local storage under one key, read at start and changed line by
// line by the same writer as the desktop's file.
#pragma once
#include "session/settings.h"

// The local storage key that holds the settings text.
constexpr const char* WEB_SETTINGS_KEY = "zuba-trilo.settings";

// Reads the stored text (bad lines are reported on the console and skipped)
// and applies what a page can: keys and pad buttons now; mute, volume and
// the picture's filter with web_settings_apply once the devices run. A page
// leaves the window, fullscreen and vsync settings to the browser.
Settings web_settings_load();
void web_settings_apply(const Settings& settings);

// Sets each name to its value in the stored text, every other byte kept, and
// stores it again; the filter applies to the canvas and fullscreen to the
// page at once (a page starts windowed, whatever is stored). A storage
// that refuses (switched off, full) is reported on the console.
void web_settings_save(const SettingsChanges& changes);

// Saves mute when it changed since the last save (the mute key acts in the
// game; a page cannot count on a save at exit). Called after each pass.
void web_settings_keep_mute();
