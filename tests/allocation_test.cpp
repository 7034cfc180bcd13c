// Nothing is allocated once the game runs: every record is a fixed table.
// This suite replaces the global operator new to count what the game asks for.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "audio/mixer.h"
#include "game/game.h"
#include "input/input.h"
#include "session/screens.h"
#include "tests/test_support.h"

namespace {
std::atomic<long> allocations{0};

void* counted_allocation(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
}  // namespace

// The replacements pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) { return counted_allocation(size); }
void* operator new[](std::size_t size) { return counted_allocation(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

TEST(Allocation, GameFramesAllocateNothing) {
    ASSERT_TRUE(start_headless_video());
    input_init();
    audio_init();
    game_begin();
    long before = allocations.load();
    int frames = 0;
    for (; frames < 600; ++frames) {
        // Sweep left and right and fire now and then, so shots, hits and bombs happen.
        if (frames % 150 == 0) replay_push_key(SDLK_RIGHT, (frames / 150) % 2 == 0);
        if (frames % 20 == 0) replay_push_key(SDLK_z, true);
        if (frames % 20 == 10) replay_push_key(SDLK_z, false);
        if (game_frame() == 0) break;
    }
    long during = allocations.load() - before;
    audio_shutdown();
    input_shutdown();
    stop_headless_video();
    EXPECT_GT(frames, 100);
    EXPECT_EQ(during, 0) << "operator new was called " << during << " times in " << frames << " game frames";
}
