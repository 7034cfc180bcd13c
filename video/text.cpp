// Text, six-digit numbers, the lives display and the game screen's frame and
// status panel. Everything is queued as 8 x 8 glyphs, fills and sprites.
#include "video/text.h"

#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/sprites.h"

namespace {

constexpr int NUMBER_DIGITS = 6;
constexpr int LIVES_DIGIT_ROW = 88;
constexpr int LIVES_ICON_ROW = 96;
constexpr int LIVES_ICON_STEP = 14;
constexpr int LIVES_ICONS = 3;
constexpr int LIVES_SHOWN_MAX = 9;  // one digit
constexpr int START_LIVES_SHOWN = 2;

constexpr int GROUND_X = 1, GROUND_Y = 1283, GROUND_W = SCREEN_WIDTH - 1, GROUND_H = 16;
constexpr uint8_t WHITE = 255;

struct PanelText {
    int x, y;
    const char* text;
};

// Drawn in this order. The second title line starts two glyphs further right,
// one text row lower.
constexpr PanelText PANEL_TEXTS[] = {
    {PANEL_LABEL_X, 1180, "ZUBA-"},
    {PANEL_LABEL_X + 2 * GLYPH_W, 1180 + GLYPH_H, "TRILO"},
    {PANEL_LABEL_X, SCORE_ROW - GLYPH_H, "SCORE"},
    {PANEL_LABEL_X, HISCORE_ROW - GLYPH_H, "HISCORE"},
    {PANEL_LABEL_X, LIVES_DIGIT_ROW - GLYPH_H, "REST"},
};

}  // namespace

void draw_text(int x, int y, const char* text) {
    if (!text || !*text) return;
    // Wide enough that a caller's odd start cannot overflow the stepping.
    int64_t cx = x, cy = y;
    int budget = TEXT_MAX_CHARS;
    for (const char* p = text; *p && budget > 0; ++p) {
        auto code = static_cast<unsigned char>(*p);
        // Bytes 128 and up have no glyph and queue nothing, but take their
        // place, so whatever is under them stays visible.
        if (code < 128) draw_glyph(int(cx), int(cy), code);
        budget -= 1;
        cx += GLYPH_W;
        if (cx > TEXT_LAST_X) {
            // A wrapped line always restarts at the left edge.
            cy += GLYPH_H;
            if (cy > TEXT_LAST_Y) break;
            cx = 0;
        }
    }
}

void draw_number(int value, int y) {
    // The game never passes a negative value; it shows as zeros rather than
    // as the glyphs that precede '0'.
    if (value < 0) value = 0;
    // Most significant digit first. Leading zeros are drawn; a seventh digit
    // and beyond are not.
    int divisor = 100000;
    for (int i = 0; i < NUMBER_DIGITS; ++i) {
        draw_glyph(PANEL_VALUE_X + i * GLYPH_W, y, '0' + value / divisor % 10);
        divisor /= 10;
    }
}

void draw_lives(int lives) {
    // Only 0 to 2 ever reach here; anything else is kept to what one digit
    // can show.
    if (lives < 0) lives = 0;
    if (lives > LIVES_SHOWN_MAX) lives = LIVES_SHOWN_MAX;
    draw_glyph(PANEL_VALUE_X, LIVES_DIGIT_ROW, '0' + lives);
    for (int i = 0; i < LIVES_ICONS; ++i) {
        int x = PANEL_VALUE_X + LIVES_ICON_STEP * i;
        if (i < lives) {
            draw_sprite(x, LIVES_ICON_ROW, CANNON_W, CANNON_H, SPRITE_CANNON);
        } else {
            draw_fill(x, LIVES_ICON_ROW, CANNON_W, CANNON_H, 0);
        }
    }
}

void draw_game_screen(int hi_score) {
    video_set_presenting(0);
    draw_clear_screen();
    video_flush();
    // The ground bar starts one pixel in and runs under the panel to the
    // right edge.
    draw_fill(GROUND_X, GROUND_Y, GROUND_W, GROUND_H, WHITE);
    draw_fill(PANEL_SEPARATOR_X, 0, 2, SCREEN_HEIGHT, WHITE);
    for (const PanelText& t : PANEL_TEXTS) draw_text(t.x, t.y, t.text);
    video_flush();
    // A new game always starts at score 0 with two spare cannons.
    draw_number(0, SCORE_ROW);
    draw_number(hi_score, HISCORE_ROW);
    draw_lives(START_LIVES_SHOWN);
    video_flush();
    video_set_presenting(1);
}
