// The options screen: a panel over the title or a paused game where the
// player changes every setting of the settings file with the game's own
// controls (keyboard or gamepad). Each change applies at once and is handed
// at once to the saver the front end sets, as the lines of the settings file
// it changes and nothing else.
#pragma once
#include <string>

#include "input/input.h"
#include "session/settings.h"

// The items, top to bottom: six settings, one line per action the player
// can bind (in the order of the action table), then reset and back.
enum OptionsItem : int {
    OPTIONS_FULLSCREEN,
    OPTIONS_WINDOW,
    OPTIONS_PICTURE,
    OPTIONS_VSYNC,
    OPTIONS_SOUND,
    OPTIONS_VOLUME,
    OPTIONS_FIRST_CONTROL,
};

// What the player does on the screen, whatever key, button or stick did it.
enum class OptionsMove { UP, DOWN, LEFT, RIGHT, FIRE, CLOSE };

constexpr int OPTIONS_MESSAGE_MAX = 48;

struct OptionsScreen {
    bool available;  // the front end offers it (never while a demo plays, nor headless)
    bool open;
    int item;
    bool waiting;  // a control item waits for the key or pad button to bind
    char message[OPTIONS_MESSAGE_MAX];  // what the last step did or refused; "" none
    // The window's settings in force (the command line's over the file's).
    bool fullscreen;
    SettingsScale scale_mode;
    double scale;
    VideoFilter filter;
    int vsync;
};

extern OptionsScreen options_screen;

// The items: how many, and where the controls, reset and back are.
int options_item_count();
// The item of an action the player can bind; -1 for the others.
int options_control_item(InputAction action);
int options_reset_item();
int options_back_item();

// Offers the screen from now on, showing the settings in force; the front
// end calls it once its window is open. Until then the options key does
// nothing, so the headless driver and demos never open it.
void options_screen_start(const Settings& in_force);
// Where each change goes: the desktop writes it into the settings file, the
// browser into the page's storage. nullptr: changes apply but are not kept.
void options_screen_set_saver(void (*save)(const SettingsChanges& changes));

// Opens the panel over what the screen shows (when offered and not open);
// key presses and joystick buttons go to it until it closes.
void options_screen_open();
// Closes it and puts back exactly the pixels it covered.
void options_screen_close();
// Forgets an open screen without drawing (the screen beneath is rebuilt).
void options_screen_forget();
// Draws the panel again when what it shows has changed (the fullscreen key,
// the mute key); called once a pass while open.
void options_screen_refresh();

// The player's input while open. A key the screen leaves to the game (the
// fullscreen and screenshot keys) gives false.
void options_screen_move(OptionsMove move);
bool options_screen_key(int sym, bool alt);
void options_screen_pad_button(int button);

// One line of the panel: the item's name and its current value.
std::string options_item_text(int item);
