// The screen sequence: splash, title, game and game over, one step per pass
// of the main loop.
#pragma once
#include <cstdint>

enum ScreenState : int {
    SCREEN_RESET_HISCORE = 0,
    SCREEN_SPLASH_BEGIN = 1,
    SCREEN_SPLASH_WAIT = 2,
    SCREEN_TITLE_BEGIN = 3,
    SCREEN_TITLE_WAIT = 4,
    SCREEN_GAME_BEGIN = 5,
    SCREEN_GAME_RUN = 6,
    SCREEN_GAME_OVER_BEGIN = 7,
    SCREEN_GAME_OVER_WAIT = 8,
};

constexpr int SPLASH_FRAMES = 180;
constexpr int SPLASH_THRESHOLD = 120;
constexpr int GAME_OVER_FRAMES = 300;
constexpr int GAME_OVER_THRESHOLD = 240;
constexpr int START_COUNTDOWN = 90;

struct Screens {
    ScreenState state;
    int screen_timer;
    int start_countdown;
    bool paused;  // a game under way waits for the player; nothing of it advances
    uint32_t paused_passes;  // passes that ran no game frame for a pause (wrapping); a demo leaves them out
};

extern Screens screens;

// What one frame of a waiting screen decided.
enum class ScreenStep { STAYS, ENDS };

void screen_splash_begin();
void screen_title_begin();
// One frame of the title: the blinking prompt and, once pressed, the start
// countdown; ENDS on the frame the countdown runs out.
ScreenStep screen_title_step();
void screen_game_over_begin(int score, int hi_score);
// One frame of the splash or game-over wait; ENDS when the wait has run out
// or the button cut it short.
ScreenStep screen_timed_wait(int threshold);

// Pauses a game under way: its frames stop, the sound stops where it is and
// PAUSED is shown until the player resumes (pause key or fire). Does nothing
// on the other screens or when already paused.
void screen_pause();
bool screen_paused();
// What the screenshot key does (the game saves a picture; the replay driver
// sets none, so it never writes into a player's folders).
void screen_set_screenshot_handler(void (*take)());

// Starts the devices (session/devices.h) and the sequence at its first
// state; 1 when video could not start.
int screen_startup();
// Runs the step of the current state and moves to the next state.
void screen_pass();
// Back to the splash card from any screen, paused or not, every sound
// stopped, the hi-score kept and the quit request forgotten: what a quit does where the program
// cannot end (a browser page cannot close its tab).
void screen_return_to_splash();
// Shuts the devices down.
void screen_shutdown();
