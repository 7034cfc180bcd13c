// Only what a drain painted is updated in the window, and everything it
// painted is: after any drain the window equals the surface.
#include "video/update_region.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/test_support.h"
#include "video/presenter.h"

namespace {

// Coverage of the last update, one flag per screen pixel.
std::vector<uint8_t> updated_pixels() {
    std::vector<uint8_t> covered(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT, 0);
    if (video_last_update.whole) {
        covered.assign(covered.size(), 1);
        return covered;
    }
    for (int i = 0; i < video_last_update.count; ++i) {
        const UpdateRect& r = video_last_update.rects[i];
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) covered[size_t(y) * SCREEN_WIDTH + size_t(x)] = 1;
    }
    return covered;
}

struct Lcg {
    uint32_t state;
    uint32_t next(uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    }
};

class UpdateRegionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start_headless_video()); }
    void TearDown() override { stop_headless_video(); }
};

}  // namespace

TEST_F(UpdateRegionTest, EveryPaintedPixelLiesInsideAnUpdatedRectangle) {
    static const uint8_t bitmap[64 * 64] = {};
    Lcg rng{12345};
    for (int round = 0; round < 40; ++round) {
        std::vector<DrawCommand> queued;
        int n = 1 + int(rng.next(300));
        for (int i = 0; i < n; ++i) {
            // Rectangles anywhere, including far past every edge.
            int x = int(rng.next(5200)) - 2600, y = int(rng.next(2800)) - 1400;
            int16_t w = int16_t(rng.next(80)), h = int16_t(rng.next(60));
            if (rng.next(2)) draw_fill(x, y, w, h, uint8_t(rng.next(256)));
            else draw_sprite(x, y, int16_t(w % 65), int16_t(h % 65), bitmap);
        }
        queued = pending_commands();
        video_flush();
        std::vector<uint8_t> covered = updated_pixels();
        for (const DrawCommand& c : queued) {
            for (int y = std::max<int>(c.y, 0); y < std::min<int>(c.y + c.h, SCREEN_HEIGHT); ++y)
                for (int x = std::max<int>(c.x, 0); x < std::min<int>(c.x + c.w, SCREEN_WIDTH); ++x)
                    ASSERT_TRUE(covered[size_t(y) * SCREEN_WIDTH + size_t(x)])
                        << "round " << round << " pixel " << x << "," << y;
        }
    }
}

TEST_F(UpdateRegionTest, AClearOrAScatteredFrameUpdatesTheWholeWindow) {
    draw_clear_screen();
    video_flush();
    EXPECT_TRUE(video_last_update.whole);

    // Small marks on a checkerboard of tiles cannot merge and overflow the list.
    for (int ty = 0; ty < UPDATE_TILES_Y; ++ty)
        for (int tx = ty % 2; tx < UPDATE_TILES_X; tx += 2) draw_fill(tx * UPDATE_TILE, ty * UPDATE_TILE, 1, 1, 255);
    video_flush();
    EXPECT_TRUE(video_last_update.whole);
}
