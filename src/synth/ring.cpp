// Ring bookkeeping. Audio-thread side (ringRead): no allocation, no lock, a
// copy and a byte order. Main-thread side (refillRing): synthesizes into a
// private block first, then publishes it frame by frame into the ring.
#include "synth/ring.h"

#include <cstring>

static std::atomic<uint32_t> s_ring[RING_FRAMES]; // static storage: starts zero
std::atomic<uint32_t>* const audio_buffer = s_ring;
std::atomic<uint32_t> audio_readPos{0};
uint32_t audio_writePos = 0;

static_assert(sizeof(s_ring) == 32000, "the ring holds 8000 frames of 4 bytes");

void ringRead(unsigned char* stream, int len) {
    int frames = len / 4;
    uint32_t pos = audio_readPos.load(std::memory_order_relaxed);
    for (int i = 0; i < frames; i++) {
        uint32_t entry = audio_buffer[pos % RING_FRAMES].load(std::memory_order_relaxed);
        short lr[2];
        std::memcpy(lr, &entry, sizeof lr);
        // The device wants little-endian samples whatever the host order.
        unsigned char* out = stream + 4 * i;
        out[0] = (unsigned char)((unsigned short)lr[0] & 0xff);
        out[1] = (unsigned char)((unsigned short)lr[0] >> 8);
        out[2] = (unsigned char)((unsigned short)lr[1] & 0xff);
        out[3] = (unsigned char)((unsigned short)lr[1] >> 8);
        pos++;
        audio_readPos.store(pos, std::memory_order_release);
    }
}

void publishBlock(const short* samples, uint32_t block) {
    std::atomic<uint32_t>* slot = audio_buffer + BLOCK_FRAMES * (block & 3);
    for (int i = 0; i < BLOCK_FRAMES; i++) {
        uint32_t entry;
        std::memcpy(&entry, samples + 2 * i, sizeof entry);
        slot[i].store(entry, std::memory_order_relaxed);
    }
}

int refillRing(uint32_t readPos, SynthFn synth) {
    static short block[BLOCK_SAMPLES]; // main thread only
    uint32_t r = readPos / BLOCK_FRAMES;
    uint32_t w = audio_writePos / BLOCK_FRAMES;
    int made = 0;
    while ((int32_t)w < (int32_t)(r + 4)) {
        synth(block, BLOCK_SAMPLES);
        // A catch-up pass still synthesizes the blocks the player has passed
        // (music time and events must not skip), but they would only be
        // overwritten by blocks r..r+3 of this same pass: leave the ring alone.
        if ((int32_t)w >= (int32_t)r) publishBlock(block, w);
        audio_writePos += BLOCK_FRAMES;
        w++;
        made++;
    }
    return made;
}
