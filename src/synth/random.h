// The one pseudo-random generator of the system, shared by the synthesizer and
// the frame driver (main thread only). Values run from 0 to 18409198.
#pragma once

extern unsigned int random_seed; // generator state, main thread

unsigned int norf_rand();
float frand();      // uniform in [0, 1), single precision
float norf_frand(); // the frame driver's entry point: frand()
