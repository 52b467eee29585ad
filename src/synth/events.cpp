// The event set: voices post from inside updateSynth, the frame driver reads
// and consumes after the refill step, all on the main thread.
#include "synth/events.h"

std::set<Event, EventLess> g_events;
unsigned int g_bufferPos = 0;

double eventTimeOfFrame(unsigned int frame) {
    return (double)((float)frame / 44100.0f);
}

void addSynthEvent(unsigned int type, double time) {
    g_events.insert(Event{type, time});
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
