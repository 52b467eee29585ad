// The four-block audio ring between the frame driver (writer, main thread) and
// the device callback (reader, SDL's audio thread). 8000 stereo frames in four
// slots of 2000; block b of the stream lives in slot b mod 4. No lock anywhere.
// Positions count frames since the start in 64 bits: they never wrap (2^64
// frames is 13 million years), so the slot of frame k is (k / 2000) mod 4 and
// the refill's comparison holds for as long as the show runs.
#pragma once
#include <atomic>
#include <cstdint>

enum { RING_FRAMES = 8000, BLOCK_FRAMES = 2000, BLOCK_SAMPLES = 4000 };

// One entry per stereo frame: left and right sample in native layout, left
// first in memory. Entries are relaxed atomics, so a slot rewritten while the
// callback plays it yields whole old or new frames, never a data race.
extern std::atomic<uint32_t>* const audio_buffer; // 32000 bytes, zero (silence) at start
extern std::atomic<uint64_t> audio_readPos;       // frames delivered; audio thread writes
extern uint64_t audio_writePos;                   // frames generated; main thread only

using SynthFn = void (*)(short* block, int count);

// Callback body: copies len / 4 whole frames into stream as little-endian
// S16 stereo and advances audio_readPos by as many. No allocation, no lock.
void ringRead(unsigned char* stream, int len);

// Refill step: synthesizes every block the ring lacks, up to block r + 3 where
// r = readPos / 2000. Returns the number of blocks synthesized.
int refillRing(uint64_t readPos, SynthFn synth);

// Copies one rendered block into slot (block & 3) of the ring.
void publishBlock(const short* samples, uint64_t block);
