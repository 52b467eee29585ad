// Circular sample buffer of fixed allocation; its length can be changed
// within that allocation. Main thread.
#include "synth/delay_line.h"

// A line always holds at least one sample, so read() has something to read.
static unsigned int atLeastOne(unsigned int n) {
    return n ? n : 1;
}

DelayLine::DelayLine(unsigned int length)
    : size(atLeastOne(length)), buffer(new short[atLeastOne(length)]()), pos(0),
      capacity_(atLeastOne(length)) {}

DelayLine::~DelayLine() {
    delete[] buffer;
}

void DelayLine::setSize(unsigned int n) {
    n = atLeastOne(n);
    size = n > capacity_ ? capacity_ : n;
    if (pos >= size) pos = 0;
}
