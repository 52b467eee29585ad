// The capture's settings as text, whether they come from the tool's options
// or the page's address: pass rates, lengths in seconds and picture sizes.
// Each parser takes the whole string and returns false on junk, overflow or
// a value out of range, leaving its outputs untouched. Any thread.
#pragma once
#include "capture/capture_clock.h"
#include <cstdint>

// "60", "60000/1001", "25/1": positive integers up to a million each, reduced.
bool parseRate(const char* text, Rate* rate);

// A positive decimal number of seconds ("2", "0.5", "3600"), at most a year, as p / q.
bool parseSeconds(const char* text, int64_t* p, int64_t* q);

// "WxH", each 1..4096.
bool parseSize(const char* s, int* w, int* h);
