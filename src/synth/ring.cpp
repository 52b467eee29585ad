// Ring bookkeeping. Audio-thread side (ringRead): no allocation, no lock, a
// copy and a byte order. Main-thread side (refillRing): synthesizes into a
// private block first, then publishes it frame by frame into the ring.
#include "synth/ring.h"

#include <cstring>

static std::atomic<uint32_t> s_ring[RING_FRAMES]; // static storage: starts zero
std::atomic<uint32_t>* const audio_buffer = s_ring;
std::atomic<uint64_t> audio_readPos{0};
uint64_t audio_writePos = 0;

static_assert(sizeof(s_ring) == 32000, "the ring holds 8000 frames of 4 bytes");
// The main thread reads the play position as one whole value, without a lock.
static_assert(std::atomic<uint64_t>::is_always_lock_free, "the play position needs no lock");

void ringRead(unsigned char* stream, int len) {
    int frames = len / 4;
    uint64_t pos = audio_readPos.load(std::memory_order_relaxed);
    unsigned int at = (unsigned int)(pos % RING_FRAMES);
    for (int i = 0; i < frames; i++) {
        uint32_t entry = audio_buffer[at].load(std::memory_order_relaxed);
        short lr[2];
        std::memcpy(lr, &entry, sizeof lr);
        // The device wants little-endian samples whatever the host order.
        unsigned char* out = stream + 4 * i;
        out[0] = (unsigned char)((unsigned short)lr[0] & 0xff);
        out[1] = (unsigned char)((unsigned short)lr[0] >> 8);
        out[2] = (unsigned char)((unsigned short)lr[1] & 0xff);
        out[3] = (unsigned char)((unsigned short)lr[1] >> 8);
        pos++;
        at = at + 1 == RING_FRAMES ? 0 : at + 1;
        audio_readPos.store(pos, std::memory_order_release);
    }
}

void publishBlock(const short* samples, uint64_t block) {
    std::atomic<uint32_t>* slot = audio_buffer + BLOCK_FRAMES * (block & 3);
    for (int i = 0; i < BLOCK_FRAMES; i++) {
        uint32_t entry;
        std::memcpy(&entry, samples + 2 * i, sizeof entry);
        slot[i].store(entry, std::memory_order_relaxed);
    }
}

int refillRing(uint64_t readPos, SynthFn synth) {
    static short block[BLOCK_SAMPLES]; // main thread only
    uint64_t r = readPos / BLOCK_FRAMES;
    uint64_t w = audio_writePos / BLOCK_FRAMES;
    int made = 0;
    while (w < r + 4) {
        synth(block, BLOCK_SAMPLES);
        // A catch-up pass still synthesizes the blocks the player has passed
        // (music time and events must not skip), but they would only be
        // overwritten by blocks r..r+3 of this same pass: leave the ring alone.
        if (w >= r) publishBlock(block, w);
        audio_writePos += BLOCK_FRAMES;
        w++;
        made++;
    }
    return made;
}
