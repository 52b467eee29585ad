// How a show ends in the browser: the page ends it (Escape) through
// isoweb_end_show, or the program ends it itself and tells the page.
#pragma once

// What to stop besides the main loop when a show ends (sound, say).
void isowebOnShowEnd(void (*stop)());
// The program has finished its show: stop, and let the page offer another.
void isowebShowEnded();
// The program cannot go on: stop, and have the page show this sentence.
void isowebShowFailed(const char* sentence);

extern "C" void isoweb_end_show();
