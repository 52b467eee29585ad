// What the page asks of the browser's sound device (SDL's Web Audio context)
// while a show plays: whether it runs, so that a sentence can say when the
// browser holds it back (no device, an autoplay policy), and, from a click
// on that sentence, to run it after all (a browser may start sound only from
// a gesture). The page's contract with a program that has sound; one without
// exports neither, and the page then does not watch. Main thread.
#pragma once

// 1 running, 0 held back (its AudioContext suspended, as a browser does
// without a gesture or a device), -1 not opened yet.
extern "C" int isoweb_sound_running();
// Asks the browser again to run the sound.
extern "C" void isoweb_resume_sound();
