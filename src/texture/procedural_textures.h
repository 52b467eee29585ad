// The four computed textures, each 256 x 256 words built in place in the
// shared working buffer W (word y * 256 + x). Every word ends as a packed
// colour (c0 in bits 0..7) shifted left by 8, with slot 3's alpha in the low
// byte. Their noise reads words the texture itself, or the one made before it, left
// in W, so they must run in slot order on one buffer. Start-up, main thread.
#pragma once

enum { PROCEDURAL_SIZE = 256 };

// (137 u + 119 v + (x ^ y) + 13 W[2i / 3]) mod 257, in 32-bit wrap-around.
unsigned int noiseTerm(const unsigned int* W, unsigned int u, unsigned int v, int x, int y, int i);

void makeRingedDisc(unsigned int* W);   // slot 0: black disc, white spot, bright corners
void makeSunburst(unsigned int* W);     // slot 1: red core, sixteen red/grey sectors, columns
void makeNoisyRainbow(unsigned int* W); // slot 2: hue wheel times noise, dark centre
void makeNoiseSprite(unsigned int* W);  // slot 3: grey noise, alpha grows with radius
