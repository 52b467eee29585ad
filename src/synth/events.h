// Time-stamped events from the voices to the frame driver (main thread only).
// Type 0: a burst starts; type 1: a drum hit. Times are seconds of rendered audio.
#pragma once
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

extern std::set<Event, EventLess> g_events; // pending events, main thread
extern unsigned int g_bufferPos;            // frames rendered before the current block

// Time stamp of frame f of the stream: f / 44100, both in single precision.
double eventTimeOfFrame(unsigned int frame);

void addSynthEvent(unsigned int type, double time);
const Event* getSynthEvent(unsigned int type, double now);
void consumeSynthEvent(const Event& e);
