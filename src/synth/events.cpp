// The event set: voices post from inside updateSynth, the frame driver reads
// and consumes after the refill step, all on the main thread.
#include "synth/events.h"

EventSet g_events;
uint64_t g_bufferPos = 0;

double eventTimeOfFrame(uint64_t frame) {
    return (double)((float)frame / 44100.0f);
}

void addSynthEvent(unsigned int type, double time) {
    Event e{type, time};
    if (g_events.find(e) == g_events.end()) g_events.insert(e);
}

void postSynthEvent(unsigned int type, uint64_t frame) {
    g_events.insert(Event{type, eventTimeOfFrame(frame)});
}

const Event* getSynthEvent(unsigned int type, double now) {
    for (const Event& e : g_events) {
        if (e.type == type && e.time <= now) return &e;
    }
    return nullptr;
}

void consumeSynthEvent(const Event& e) {
    // e may be the stored element itself: find it by key, then erase by iterator.
    auto it = g_events.find(e);
    if (it != g_events.end()) g_events.erase(it);
}
