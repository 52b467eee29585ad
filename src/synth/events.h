// Time-stamped events from the voices to the frame driver (main thread only).
// Type 0: a burst starts; type 1: a drum hit. Times are seconds of rendered audio.
#pragma once
#include <cstdint>
#include <set>

struct Event {
    unsigned int type;
    double time;
};

// Orders by type first, then by time: all bursts before all drum hits.
struct EventLess {
    bool operator()(const Event& a, const Event& b) const {
        if (a.type < b.type) return true;
        if (a.type > b.type) return false;
        return a.time < b.time;
    }
};

// A multiset: far into a run the single-precision stamps of two distinct hits
// can round to the same time (see eventTimeOfFrame), and each hit must still
// be consumed once. Equal stamps keep their posting order.
using EventSet = std::multiset<Event, EventLess>;

extern EventSet g_events;    // pending events, main thread
extern uint64_t g_bufferPos; // frames rendered before the current block; never wraps

// Time stamp of frame f of the stream: f / 44100, both in single precision.
// The count is exact up to 2^24 frames (6.3 min), then rounded to 2^(e - 23)
// frames for f in [2^e, 2^(e+1)): 512 frames (11.6 ms) from 2^32 (27 h),
// 16384 (0.37 s) at 49.7 days; the quotient is rounded to 2^(k - 23) s for a
// stamp in [2^k, 2^(k+1)) s: 7.8 ms at 27 h, 0.5 s at 49.7 days. Stamps never
// decrease; from about 3 days two bursts (2000 frames apart or more) can
// share one, from about 97 days two drum hits (64000 apart or more).
double eventTimeOfFrame(uint64_t frame);

// Inserts {type, time} unless an equal event is already pending.
void addSynthEvent(unsigned int type, double time);
// A voice's event at stream frame f: stamped by eventTimeOfFrame and always
// kept, also when its stamp equals a pending one.
void postSynthEvent(unsigned int type, uint64_t frame);
const Event* getSynthEvent(unsigned int type, double now);
void consumeSynthEvent(const Event& e);
