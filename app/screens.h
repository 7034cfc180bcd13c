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
};

extern Screens screens;

int screen_splash_begin();
int screen_title_begin();
int screen_title_step();
int screen_game_over_begin(int score, int hi_score);
// One frame of the splash or game-over wait; 1 when the wait has ended.
int screen_timed_wait(int threshold);

// Starts video, input and sound; 1 when video could not start.
int app_startup();
// Runs the step of the current state and moves to the next state.
void screen_pass();
// Sound, joysticks and surface, in this order.
void app_shutdown();
