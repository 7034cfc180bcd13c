// The screen sequence: splash card, title with its blinking prompt, the game
// and the game-over screen, then the splash again. One state step per pass.
// A paused game's passes present and read the keys, but run no game frame, so
// the game goes on after a pause exactly as if it had never paused.
#include "session/screens.h"

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/game.h"
#include "input/input.h"
#include "session/devices.h"
#include "session/options_screen.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/sprites.h"
#include "video/text.h"

Screens screens;

namespace {

constexpr int SPLASH_X = 1170, SPLASH_Y = 622;
constexpr int TITLE_X = 1090, TITLE_Y = 490;
constexpr int PROMPT_X = 1206, PROMPT_Y = 710;
constexpr int GAME_OVER_X = 2304, GAME_OVER_Y = 116;
constexpr int BLINK_FRAMES = 30;     // slow blink of the waiting prompt
constexpr int COUNTDOWN_BLINK = 15;  // the countdown's step of the blink phase
constexpr int TITLE_INPUT_FROM = 30; // the button is read only after this frame
constexpr int BLINK_PHASE_LIMIT = 1'800'000'000;
constexpr int BLINK_PHASE_REWIND = 2 * BLINK_FRAMES * 29'999'999;

// The PAUSED label: large white letters on a black box in the middle of the
// play field, so it still reads when the window is fitted to a small display
// (about half size on 1366 x 768). The pixels it covers are put back on resume.
constexpr char PAUSED_TEXT[] = "PAUSED";
constexpr int PAUSED_LETTERS = sizeof PAUSED_TEXT - 1;
constexpr int PAUSED_ZOOM = 6;  // screen pixels per glyph pixel
constexpr int PAUSED_BORDER = 2 * PAUSED_ZOOM;
constexpr int PAUSED_W = PAUSED_LETTERS * GLYPH_W * PAUSED_ZOOM + 2 * PAUSED_BORDER;
constexpr int PAUSED_H = GLYPH_H * PAUSED_ZOOM + 2 * PAUSED_BORDER;
constexpr int PAUSED_X = (PANEL_SEPARATOR_X - PAUSED_W) / 2, PAUSED_Y = (SCREEN_HEIGHT - PAUSED_H) / 2;
uint8_t paused_label[PAUSED_W * PAUSED_H];
uint8_t paused_covered[PAUSED_W * PAUSED_H];

// The label's picture, built from the font once.
const uint8_t* paused_label_picture() {
    static bool built = false;
    if (built) return paused_label;
    for (int i = 0; i < PAUSED_LETTERS; ++i) {
        const uint8_t* glyph = font_table[static_cast<unsigned char>(PAUSED_TEXT[i])];
        for (int y = 0; y < GLYPH_H * PAUSED_ZOOM; ++y) {
            for (int x = 0; x < GLYPH_W * PAUSED_ZOOM; ++x) {
                const int lx = PAUSED_BORDER + (i * GLYPH_W) * PAUSED_ZOOM + x, ly = PAUSED_BORDER + y;
                paused_label[ly * PAUSED_W + lx] = glyph[(y / PAUSED_ZOOM) * GLYPH_W + x / PAUSED_ZOOM];
            }
        }
    }
    built = true;
    return paused_label;
}

void (*screenshot_handler)() = nullptr;

// Every screen is built the same way: presenting off, a black screen first.
void begin_building() {
    video_set_presenting(0);
    draw_clear_screen();
    video_flush();
}

void end_building() {
    video_flush();
    video_set_presenting(1);
}

void show_paused_label() {
    // What the label covers is read once the last game frame is painted.
    video_flush();
    for (int y = 0; y < PAUSED_H; ++y) {
        for (int x = 0; x < PAUSED_W; ++x)
            paused_covered[y * PAUSED_W + x] = uint8_t(video_pixel(PAUSED_X + x, PAUSED_Y + y));
    }
    draw_sprite(PAUSED_X, PAUSED_Y, PAUSED_W, PAUSED_H, paused_label_picture());
}

void resume(uint32_t presses) {
    screens.paused = false;
    draw_sprite(PAUSED_X, PAUSED_Y, PAUSED_W, PAUSED_H, paused_covered);
    audio_set_paused(false);
    // The press that resumed is spent: a held fire button fires again only
    // once let go and pressed anew.
    if (presses & PRESS_FIRE) input_hold_back(INPUT_A);
}

// One pass of a paused game, or of the title under the options: the picture
// stays, the keys are read (quit, fullscreen, mute, the resume and the
// options all act from here).
void paused_pass() {
    screens.paused_passes += 1;
    options_screen_refresh();
    video_present();
    input_poll();
}

// The presses since the last look: mute and screenshots at any screen, pause
// and resume in a game.
void handle_presses() {
    const uint32_t presses = input_take_presses();
    if (presses & PRESS_MUTE) audio_set_muted(!mixer.muted);
    if ((presses & PRESS_SCREENSHOT) && screenshot_handler) screenshot_handler();
    // The options open over the title before its countdown, and over a game,
    // which pauses first; never over the other screens.
    if (presses & PRESS_OPTIONS) {
        if (screens.state == SCREEN_TITLE_WAIT && screens.start_countdown == 0) {
            options_screen_open();
        } else if (screens.state == SCREEN_GAME_RUN && options_screen.available) {
            screen_pause();
            options_screen_open();
        }
    }
    if (screens.state != SCREEN_GAME_RUN) return;
    if (screens.paused) {
        if ((presses & (PRESS_PAUSE | PRESS_FIRE)) && !options_screen.open) resume(presses);
    } else if (presses & (PRESS_PAUSE | PRESS_FOCUS_LOST)) {
        screen_pause();
    }
}

}  // namespace

void screen_pause() {
    if (screens.state != SCREEN_GAME_RUN || screens.paused) return;
    screens.paused = true;
    audio_set_paused(true);
    show_paused_label();
}

bool screen_paused() { return screens.paused; }

void screen_set_screenshot_handler(void (*take)()) { screenshot_handler = take; }

void screen_splash_begin() {
    begin_building();
    draw_sprite(SPLASH_X, SPLASH_Y, IMAGE_SPLASH_W, IMAGE_SPLASH_H, IMAGE_SPLASH);
    end_building();
    screens.screen_timer = SPLASH_FRAMES;
}

void screen_title_begin() {
    begin_building();
    draw_sprite(TITLE_X, TITLE_Y, IMAGE_TITLE_W, IMAGE_TITLE_H, IMAGE_TITLE);
    end_building();
    screens.screen_timer = 0;
    screens.start_countdown = 0;
}

ScreenStep screen_title_step() {
    video_present();
    // The blink phase counts up. A title screen left alone for more than a
    // year would overflow it, so far out it steps back by a whole number of
    // blink periods, keeping the phase and staying past the input delay.
    if (screens.screen_timer >= BLINK_PHASE_LIMIT) screens.screen_timer -= BLINK_PHASE_REWIND;
    int t = screens.screen_timer + 1;
    screens.screen_timer = t;
    if (t % BLINK_FRAMES == 0) {
        draw_text(PROMPT_X, PROMPT_Y, t % (2 * BLINK_FRAMES) < BLINK_FRAMES ? "PUSH BUTTON" : "           ");
    }
    if (t > TITLE_INPUT_FROM && screens.start_countdown == 0) {
        input_poll();
        if (input_held() & INPUT_A) {
            screens.start_countdown = START_COUNTDOWN;
            sound_play(VOICE_MARCH, SOUND_START);
        }
    }
    if (screens.start_countdown <= 0) return ScreenStep::STAYS;
    // Jump the phase to the next multiple of 15: the prompt now blinks two
    // frames on, two off, and no input is read until the game begins.
    screens.screen_timer = (t / COUNTDOWN_BLINK) * COUNTDOWN_BLINK + COUNTDOWN_BLINK - 1;
    screens.start_countdown -= 1;
    return screens.start_countdown > 0 ? ScreenStep::STAYS : ScreenStep::ENDS;
}

void screen_game_over_begin(int score, int hi_score) {
    begin_building();
    draw_text(GAME_OVER_X, GAME_OVER_Y, "GAME OVER");
    video_flush();
    draw_text(PANEL_LABEL_X, SCORE_ROW - 8, "SCORE");
    draw_text(PANEL_LABEL_X, HISCORE_ROW - 8, "HISCORE");
    draw_number(score, SCORE_ROW);
    draw_number(hi_score, HISCORE_ROW);
    end_building();
    screens.screen_timer = GAME_OVER_FRAMES;
    // Only the game-over tune is left sounding.
    sound_play(VOICE_MARCH, SOUND_GAME_OVER);
    voice_stop(VOICE_PLAYER);
    voice_stop(VOICE_HIT);
    voice_stop(VOICE_SAUCER);
}

ScreenStep screen_timed_wait(int threshold) {
    video_present();
    int t = screens.screen_timer;
    if (t >= threshold) {
        // The first frames ignore the button, so one held from before does
        // not skip the screen at once.
        screens.screen_timer = t - 1;
    } else {
        input_poll();
        screens.screen_timer = (input_held() & INPUT_A) ? 0 : t - 1;
    }
    return screens.screen_timer < 1 ? ScreenStep::ENDS : ScreenStep::STAYS;
}

int screen_startup() {
    if (devices_start() != 0) return 1;
    screens.state = SCREEN_RESET_HISCORE;
    screens.paused = false;
    return 0;
}

void screen_pass() {
    switch (screens.state) {
        case SCREEN_RESET_HISCORE:
            game.hi_score = 0;
            screens.state = SCREEN_SPLASH_BEGIN;
            break;
        case SCREEN_SPLASH_BEGIN:
            screen_splash_begin();
            screens.state = SCREEN_SPLASH_WAIT;
            break;
        case SCREEN_SPLASH_WAIT:
            if (screen_timed_wait(SPLASH_THRESHOLD) == ScreenStep::ENDS) screens.state = SCREEN_TITLE_BEGIN;
            break;
        case SCREEN_TITLE_BEGIN:
            screen_title_begin();
            screens.state = SCREEN_TITLE_WAIT;
            break;
        case SCREEN_TITLE_WAIT:
            // Under the options the title stands still: no blink, no start.
            if (options_screen.open) paused_pass();
            else if (screen_title_step() == ScreenStep::ENDS) screens.state = SCREEN_GAME_BEGIN;
            break;
        case SCREEN_GAME_BEGIN:
            game_begin();
            screens.state = SCREEN_GAME_RUN;
            break;
        case SCREEN_GAME_RUN:
            // A press that came since the last pass acts before this pass's
            // frame: the pass that brings the pause key is already paused,
            // and the one that brings the resume plays.
            input_pump();
            handle_presses();
            if (screens.paused) paused_pass();
            else if (game_frame() == 0) screens.state = SCREEN_GAME_OVER_BEGIN;
            break;
        case SCREEN_GAME_OVER_BEGIN:
            screen_game_over_begin(game.score, game.hi_score);
            screens.state = SCREEN_GAME_OVER_WAIT;
            break;
        case SCREEN_GAME_OVER_WAIT:
            if (screen_timed_wait(GAME_OVER_THRESHOLD) == ScreenStep::ENDS) screens.state = SCREEN_SPLASH_BEGIN;
            break;
    }
    input_pump();
    handle_presses();
}

void screen_return_to_splash() {
    input_forget_quit();
    options_screen_forget();
    // A paused game is left for good: the next one starts unpaused, with sound.
    if (screens.paused) {
        screens.paused = false;
        audio_set_paused(false);
    }
    for (int v = 0; v < VOICE_COUNT; ++v) voice_stop(v);
    screens.state = SCREEN_SPLASH_BEGIN;
}

void screen_shutdown() { devices_shutdown(); }
