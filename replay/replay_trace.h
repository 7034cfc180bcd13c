// The replay driver's state trace: one JSON object per main-loop pass.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

constexpr int TRACE_MAX_CUES = 64;

// Sound cues of one pass, in call order: (voice, sound id), id 0 for a stop.
struct TraceCues {
    int count;
    int dropped;
    int voice[TRACE_MAX_CUES];
    int id[TRACE_MAX_CUES];
};

extern TraceCues trace_cues;

// Starts recording sound cues into trace_cues.
void trace_cues_attach();
void trace_cues_clear();

// One line of the trace for pass `pass`, whose step ran in state `state`.
std::string trace_line(uint64_t pass, int state);
