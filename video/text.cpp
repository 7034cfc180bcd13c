// Stand-in text until the font lands: queues nothing.
#include "video/text.h"

#include "video/draw_queue.h"
#include "video/presenter.h"

int draw_text(int, int, const char*) { return DRAW_OK; }
void draw_number(int, int) {}
void draw_lives(int) {}
void draw_game_screen(int) {
    video_set_presenting(0);
    draw_clear_screen();
    video_flush();
    video_set_presenting(1);
}
