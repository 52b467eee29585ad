// Linear congruential step folded by a prime-ish modulus; every structural
// choice of the music and the visual strobe comes from here, in draw order.
#include "synth/random.h"

unsigned int random_seed = 212328912u;

unsigned int norf_rand() {
    random_seed = random_seed * 65521u + 18172619u; // modulo 2^32
    random_seed %= 18409199u;
    return random_seed;
}

// 18409200.0f is the modulus rounded to single precision.
float frand() {
    return (float)norf_rand() / 18409200.0f;
}

float norf_frand() {
    return frand();
}
