// Text, six-digit numbers, the lives display and the game screen's frame and
// status panel, all queued as glyphs, fills and sprites.
#pragma once
#include <cstdint>

constexpr int TEXT_MAX_CHARS = 1000;
constexpr int TEXT_LAST_X = 2492;  // last column that can start a glyph
constexpr int TEXT_LAST_Y = 1292;  // last row that can start a line

// Panel layout.
constexpr int PANEL_SEPARATOR_X = 2420;
constexpr int PANEL_LABEL_X = 2428;
constexpr int PANEL_VALUE_X = 2436;
constexpr int SCORE_ROW = 40;
constexpr int HISCORE_ROW = 64;

// Queues one glyph per character; a line wraps to x 0, and text past the
// screen's last row or TEXT_MAX_CHARS characters is dropped.
void draw_text(int x, int y, const char* text);
void draw_number(int value, int y);
void draw_lives(int lives);
// Builds the game screen: frame lines, labels, score 0, the given hi-score and
// the lives display for 2.
void draw_game_screen(int hi_score);
