// Two phases. The quick one reduces the argument by Cody-Waite (pi/2 in five
// parts), evaluates the sine and cosine as double-doubles from a table of
// sin(i/64), cos(i/64) and short polynomials, and keeps the result if it is
// far enough from a rounding boundary to be certain. Otherwise (about one call
// in a thousand, and every argument of 2^19 or more) a fixed-point
// evaluation with 384-bit fractions reduces by the bits of 2/pi, sums the
// Taylor series and decides the rounding by exact comparison with the
// midpoints between neighbouring results.
#include "base/exact_trig.h"

#include <cstdint>
#include <cstring>

namespace {

// ---- Double-double helpers (no fused multiply-add anywhere) ----

struct DD {
    double hi, lo;
};

DD twoSum(double a, double b) {
    double s = a + b;
    double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

DD fastTwoSum(double a, double b) { // |a| >= |b|
    double s = a + b;
    return {s, b - (s - a)};
}

DD twoProd(double a, double b) {
    const double split = 134217729.0; // 2^27 + 1
    double ca = split * a, cb = split * b;
    double ah = ca - (ca - a), al = a - ah;
    double bh = cb - (cb - b), bl = b - bh;
    double p = a * b;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

double absd(double x) {
    return x < 0 ? -x : x;
}

// ---- Quick phase ----

// sin(i/64) and cos(i/64) as double-doubles, i = 0..51.
const double kTable[52][4] = {
    {0x0.0p+0, 0x0.0p+0, 0x1.0000000000000p+0, 0x0.0p+0},
    {0x1.fffaaaaeeeed5p-7, -0x1.2ab639a9f0776p-63, 0x1.fff000155549fp-1, 0x1.28a28a03a5ef3p-55},
    {0x1.ffeaaaeeee86fp-6, -0x1.cd406fb224ae2p-60, 0x1.ffc00155527d3p-1, -0x1.3b54492d89b5bp-55},
    {0x1.7fdc01032fba9p-5, -0x1.599bdf46e997ap-59, 0x1.ff7006bfdf99fp-1, -0x1.8b3b560648d5fp-56},
    {0x1.ffaaaeeed4edbp-5, -0x1.2d16d32684b69p-59, 0x1.ff0015549f4d3p-1, 0x1.328387b99426fp-55},
    {0x1.3facb12d1755bp-4, -0x1.921915299468bp-58, 0x1.fe7034129ef6fp-1, -0x1.cbf4337c96f97p-57},
    {0x1.7f701032550e4p-4, 0x1.afc2d1800501ap-60, 0x1.fdc06bf7e6b9bp-1, 0x1.31902b535f8dbp-55},
    {0x1.bf1b78568391dp-4, 0x1.e91841dea4cc8p-58, 0x1.fcf0c800e99b1p-1, 0x1.ea3d786d186acp-57},
    {0x1.feaaeee86ee36p-4, -0x1.afcb2bcc6f03bp-59, 0x1.fc015527d5bd3p-1, 0x1.b68f35094efb8p-55},
    {0x1.1f0d3d7afceafp-3, -0x1.6ef95099769a5p-57, 0x1.faf22263c4bd3p-1, -0x1.52ace133a2769p-58},
    {0x1.3eb312c5d66cbp-3, 0x1.47d666b66cb91p-57, 0x1.f9c340a7cc428p-1, 0x1.c5b6b063b7462p-55},
    {0x1.5e44fcfa126f3p-3, -0x1.6f443063f89b6p-57, 0x1.f874c2e1eecf6p-1, -0x1.c6514e1332b16p-55},
    {0x1.7dc102fbaf2b5p-3, 0x1.5ab50e23c97c3p-59, 0x1.f706bdf9ece1cp-1, -0x1.698c80c36dcb4p-55},
    {0x1.9d252d0cec312p-3, 0x1.9c43d80b1137dp-58, 0x1.f57948cff6797p-1, 0x1.e3a0d3e03b1d4p-57},
    {0x1.bc6f84edc6199p-3, 0x1.9c1a56a7b0cabp-57, 0x1.f3cc7c3b3d16ep-1, -0x1.21a3ad28a3494p-57},
    {0x1.db9e15fb5a5d0p-3, -0x1.32e20d6cc6fc2p-57, 0x1.f20073086649fp-1, 0x1.b940416c1984bp-56},
    {0x1.faaeed4f31577p-3, -0x1.15d88508e32b8p-57, 0x1.f01549f7deea1p-1, 0x1.d3c1e99e5cafdp-55},
    {0x1.0cd00cef36436p-2, -0x1.9fb0a0c93e2b4p-56, 0x1.ee0b1fbc0f11cp-1, -0x1.bfd2380bbc3b1p-59},
    {0x1.1c37d64c6b876p-2, 0x1.46076fe0dcff4p-56, 0x1.ebe214f76efa8p-1, -0x1.02f9f12ba543ep-55},
    {0x1.2b8ddc43eb49fp-2, 0x1.1553899f2d807p-57, 0x1.e99a4c3a7cd83p-1, -0x1.2264b1bc53ce8p-55},
    {0x1.3ad129769d3d8p-2, 0x1.03d550487839ap-63, 0x1.e733ea0193d40p-1, -0x1.6428b3546ce13p-55},
    {0x1.4a00c9b0f3d20p-2, 0x1.823ba6bb08eadp-56, 0x1.e4af14b2a449cp-1, -0x1.68ca02e8a6833p-55},
    {0x1.591bc9fa2f597p-2, 0x1.7c74bac3fe0cbp-57, 0x1.e20bf49acd6c1p-1, -0x1.660aec7ef636bp-58},
    {0x1.682138a38d7f7p-2, -0x1.d889202444aadp-56, 0x1.df4ab3ebd875ep-1, -0x1.e2d8a7e6736c4p-55},
    {0x1.7710255764214p-2, -0x1.6ead7314bb6cep-57, 0x1.dc6b7eb995912p-1, 0x1.4b364776dcd35p-58},
    {0x1.85e7a12826949p-2, 0x1.8a40e9b5face0p-56, 0x1.d96e82f71a9dcp-1, 0x1.ff61bd5d2039dp-55},
    {0x1.94a6be9f546c5p-2, -0x1.69ce13e683f58p-56, 0x1.d653f073e4040p-1, -0x1.76236434bec37p-55},
    {0x1.a34c91cc50ccap-2, -0x1.a310e3b50cecdp-58, 0x1.d31bf8d8d7c06p-1, 0x1.e60dd3089cbddp-56},
    {0x1.b1d8305321617p-2, -0x1.ae242cb99f519p-56, 0x1.cfc6cfa52ad9fp-1, 0x1.8b5b5508f2a0dp-55},
    {0x1.c048b17b140a3p-2, 0x1.19fe6757e9fa7p-57, 0x1.cc54aa2b2972ep-1, 0x1.4ee162ba83a98p-57},
    {0x1.ce9d2e3d4a51fp-2, -0x1.2fc8a12dae298p-57, 0x1.c8c5bf8ce1a84p-1, 0x1.ab3d1a1590123p-56},
    {0x1.dcd4c15329c9ap-2, 0x1.0d4c6e171fd9ap-56, 0x1.c51a48b8b175ep-1, -0x1.1bbb43b9aa880p-57},
    {0x1.eaee8744b05f0p-2, -0x1.789b43c9b027dp-58, 0x1.c1528065b7d50p-1, -0x1.892111312e828p-55},
    {0x1.f8e99e76abc97p-2, 0x1.9d950af2d00a3p-58, 0x1.bd6ea310294f5p-1, 0x1.31bbcc88c109dp-56},
    {0x1.0362939c69955p-1, -0x1.2d8cd78397b01p-55, 0x1.b96eeef58840ep-1, 0x1.45a3cc78fade0p-58},
    {0x1.0a4021e9e1001p-1, -0x1.6f643a13914f6p-55, 0x1.b553a410c104ep-1, 0x1.8ff7947027a15p-58},
    {0x1.110d0c4b69c3bp-1, 0x1.d918998809981p-55, 0x1.b11d04162a4c6p-1, 0x1.1dd561efbc0c2p-56},
    {0x1.17c8e5f2eedb0p-1, 0x1.35e57102e2488p-57, 0x1.accb526f69de5p-1, 0x1.8fb6a8dd6b6ccp-55},
    {0x1.1e7343236574cp-1, 0x1.22a3fa4f41d5ap-56, 0x1.a85ed4373e02dp-1, 0x1.9be06385ec792p-57},
    {0x1.250bb93788bbbp-1, 0x1.ea3d02457bccep-56, 0x1.a3d7d0352bdcfp-1, -0x1.68dbaeca19669p-55},
    {0x1.2b91dea88421ep-1, -0x1.fa371db216ab0p-55, 0x1.9f368ed912f85p-1, -0x1.1d200c5791606p-55},
    {0x1.32054b148bc4fp-1, 0x1.f6b42095a135bp-55, 0x1.9a7b5a36a6514p-1, 0x1.722cfcc9fa7a9p-55},
    {0x1.386597456282bp-1, -0x1.10fada93b07a8p-56, 0x1.95a67e00cb1fdp-1, -0x1.0befda21f862dp-55},
    {0x1.3eb25d36cd53ap-1, -0x1.be570e1570fc0p-58, 0x1.90b84784ddaf7p-1, -0x1.0feb10ab93b87p-56},
    {0x1.44eb381cf386bp-1, -0x1.3ed6c1e6a5505p-55, 0x1.8bb105a5dc900p-1, 0x1.863e03e9474c1p-55},
    {0x1.4b0fc46aab761p-1, 0x1.0da05738cc59cp-61, 0x1.869108d77a6c6p-1, 0x1.338ffe2bfe9ddp-56},
    {0x1.511f9fd7b351cp-1, -0x1.5c0e861c48831p-55, 0x1.8158a31916d5dp-1, -0x1.de8b90b8228dep-57},
    {0x1.571a6966d59b3p-1, 0x1.c843b4d0fb197p-58, 0x1.7c0827f09e54fp-1, -0x1.c73d6d72aee68p-57},
    {0x1.5cffc16bf8f0dp-1, 0x1.96cb370eb578ap-55, 0x1.769fec655211fp-1, -0x1.827d5cf8c68c5p-57},
    {0x1.62cf49921ac79p-1, -0x1.edd9855b6241ap-55, 0x1.712046fa77678p-1, 0x1.425b0a5029c81p-55},
    {0x1.6888a4e134b2fp-1, -0x1.6b7d37644d5e6p-55, 0x1.6b898fa9efb5dp-1, 0x1.15ac786ccf4b2p-56},
    {0x1.6e2b77c40bde1p-1, -0x1.0e729857fad53p-56, 0x1.65dc1fdeb8cbap-1, -0x1.97c1b47337c77p-58},
};

// pi/2 in five parts: the first four have at most 33 significant bits, so
// k * part is exact for k < 2^20.
const double kP1 = 0x1.921fb54400000p+0;
const double kP2 = 0x1.0b4611a600000p-34;
const double kP3 = 0x1.3198a2e000000p-69;
const double kP4 = 0x1.b839a25200000p-104;
const double kP5 = 0x1.27044533e63a0p-142;
const double kTwoOverPi = 0x1.45f306dc9c883p-1;

// ax = k pi/2 + r with r as a double-double, |r| <= pi/4 (slightly over where
// k rounds near a half). False when the quick phase should not try: large
// arguments, and r so small that the cancellation could eat its accuracy.
bool reduceQuick(double ax, int* quadrant, DD* r) {
    if (ax <= 0.78539816339744828) {
        *quadrant = 0;
        *r = {ax, 0};
        return true;
    }
    if (!(ax < 524288.0)) return false;
    double k = (double)(int64_t)(ax * kTwoOverPi + 0.5);
    double t = ax - k * kP1; // exact: k P1 is within a factor of two of ax
    DD s = twoSum(t, -(k * kP2));
    DD u = twoSum(s.hi, -(k * kP3));
    double lo = s.lo + u.lo;
    DD v = twoSum(u.hi, -(k * kP4));
    lo = (lo + v.lo) - k * kP5;
    *r = fastTwoSum(v.hi, lo);
    if (absd(r->hi) < 0x1p-40) return false;
    *quadrant = (int)((int64_t)k & 3);
    return true;
}

// sin r and cos r for r = rh + rl, |r| <= pi/4 + 1/128, relative error below
// 2^-64 each (the table to 2^-106, the corrections below 2^-13 of the result
// evaluated in double).
void sinCosQuick(DD r, DD* sinOut, DD* cosOut) {
    bool negative = r.hi < 0;
    double rh = negative ? -r.hi : r.hi, rl = negative ? -r.lo : r.lo;
    int i = (int)(rh * 64 + 0.5);
    double h = rh - i * (1.0 / 64); // exact
    double z = h * h;
    // sin h - h and cos h - 1 for |h| <= 1/128; rl enters to first order.
    double ps = h * z * (-1.0 / 6 + z * (1.0 / 120 + z * (-1.0 / 5040 + z * (1.0 / 362880))));
    double pc = z * (-0.5 + z * (1.0 / 24 + z * (-1.0 / 720 + z * (1.0 / 40320)))) - h * rl;
    double sinTail = rl + ps; // sin h = h + sinTail
    DD s, c;
    if (i == 0) {
        s = fastTwoSum(h, sinTail);
        c = fastTwoSum(1.0, pc);
    } else {
        const double* e = kTable[i];
        double sh = e[0], sl = e[1], ch = e[2], cl = e[3];
        // sin(a + h) = S cos h + C sin h, cos(a + h) = C cos h - S sin h
        DD p = twoProd(ch, h);
        DD a = twoSum(sh, p.hi);
        double small = ((sl + sh * pc) + ch * sinTail) + cl * h;
        s = fastTwoSum(a.hi, a.lo + (p.lo + small));
        DD q = twoProd(sh, h);
        DD b = twoSum(ch, -q.hi);
        small = ((cl + ch * pc) - sh * sinTail) - sl * h;
        c = fastTwoSum(b.hi, b.lo + (small - q.lo));
    }
    if (negative) s = {-s.hi, -s.lo};
    *sinOut = s;
    *cosOut = c;
}

// n / d for double-doubles, adding only about 2^-104 to their own errors.
DD divide(DD n, DD d) {
    double q1 = n.hi / d.hi;
    DD p = twoProd(q1, d.hi);
    double rem = (((n.hi - p.hi) - p.lo) + n.lo) - q1 * d.lo;
    return fastTwoSum(q1, rem / d.hi);
}

// Relative error bound of the quick results: the analysis gives about 2^-64,
// and the worst seen over a million random arguments is 2^-65.5.
const double kQuickBound = 0x1p-63;

// The double nearest to v.hi + v.lo if every value within the error bound
// rounds to it. Rounding is monotonic, so the two ends settle the interval.
bool settledDouble(DD v, double* out) {
    double eps = absd(v.hi) * kQuickBound;
    double a = v.hi + (v.lo - eps);
    double b = v.hi + (v.lo + eps);
    if (a != b) return false;
    *out = a;
    return true;
}

// The same for float. The margin (2^-50, far above the quick error yet far
// below a float ulp) also keeps the double sums off the float midpoints.
bool settledFloat(DD v, float* out) {
    double m = v.hi + v.lo;
    double eps = absd(m) * 0x1p-50;
    float a = (float)(m - eps), b = (float)(m + eps);
    if (a != b) return false;
    *out = a;
    return true;
}

enum class Fn { Sin, Cos, Tan };

// f(|x|) from the quick phase; false if it cannot decide.
bool quick(Fn fn, double ax, DD* out) {
    int q;
    DD r, s, c;
    if (!reduceQuick(ax, &q, &r)) return false;
    sinCosQuick(r, &s, &c);
    DD ns = {-s.hi, -s.lo}, nc = {-c.hi, -c.lo};
    switch (fn) {
    case Fn::Sin:
        *out = q == 0 ? s : q == 1 ? c : q == 2 ? ns : nc;
        break;
    case Fn::Cos:
        *out = q == 0 ? c : q == 1 ? ns : q == 2 ? nc : s;
        break;
    case Fn::Tan:
        *out = (q & 1) ? divide(nc, s) : divide(s, c);
        break;
    }
    return true;
}

// ---- Exact phase: unsigned fixed point, value = limbs / 2^384 ----

// Four integer limbs hold a numerator shifted by up to 120 bits when a result
// is as small as 2^-62 (sin near a multiple of pi).
const int kLimbs = 16, kFracLimbs = 12;

struct Fix {
    uint32_t w[kLimbs] = {};
};

bool isZero(const Fix& a) {
    for (uint32_t v : a.w)
        if (v) return false;
    return true;
}

int compare(const Fix& a, const Fix& b) {
    for (int i = kLimbs - 1; i >= 0; i--)
        if (a.w[i] != b.w[i]) return a.w[i] < b.w[i] ? -1 : 1;
    return 0;
}

Fix add(const Fix& a, const Fix& b) {
    Fix r;
    uint64_t carry = 0;
    for (int i = 0; i < kLimbs; i++) {
        uint64_t t = (uint64_t)a.w[i] + b.w[i] + carry;
        r.w[i] = (uint32_t)t;
        carry = t >> 32;
    }
    return r;
}

Fix subtract(const Fix& a, const Fix& b) { // a >= b
    Fix r;
    int64_t borrow = 0;
    for (int i = 0; i < kLimbs; i++) {
        int64_t t = (int64_t)a.w[i] - b.w[i] - borrow;
        borrow = t < 0;
        r.w[i] = (uint32_t)(t + (borrow << 32));
    }
    return r;
}

// a * b / 2^384, truncated; the product must fit.
Fix multiply(const Fix& a, const Fix& b) {
    uint32_t full[2 * kLimbs] = {};
    for (int i = 0; i < kLimbs; i++) {
        if (!a.w[i]) continue;
        uint64_t carry = 0;
        for (int j = 0; j < kLimbs; j++) {
            uint64_t t = (uint64_t)a.w[i] * b.w[j] + full[i + j] + carry;
            full[i + j] = (uint32_t)t;
            carry = t >> 32;
        }
        for (int k = i + kLimbs; carry; k++) {
            uint64_t t = (uint64_t)full[k] + carry;
            full[k] = (uint32_t)t;
            carry = t >> 32;
        }
    }
    Fix r;
    std::memcpy(r.w, full + kFracLimbs, sizeof r.w);
    return r;
}

Fix divideSmall(const Fix& a, uint32_t d) {
    Fix r;
    uint64_t rem = 0;
    for (int i = kLimbs - 1; i >= 0; i--) {
        uint64_t t = (rem << 32) | a.w[i];
        r.w[i] = (uint32_t)(t / d);
        rem = t % d;
    }
    return r;
}

Fix shiftLeft(const Fix& a, int bits) { // the result must fit
    Fix r;
    int limbs = bits / 32, b = bits % 32;
    for (int i = kLimbs - 1; i >= limbs; i--) {
        uint64_t v = (uint64_t)a.w[i - limbs] << b;
        if (b && i - limbs - 1 >= 0) v |= (uint64_t)a.w[i - limbs - 1] >> (32 - b);
        r.w[i] = (uint32_t)v;
    }
    return r;
}

Fix fromInteger(uint64_t m) {
    Fix r;
    r.w[kFracLimbs] = (uint32_t)m;
    r.w[kFracLimbs + 1] = (uint32_t)(m >> 32);
    return r;
}

// Approximate value, for the first guess only.
double toDouble(const Fix& a) {
    double v = 0;
    for (int i = kLimbs - 1; i >= 0; i--)
        v = v * 4294967296.0 + a.w[i];
    for (int i = 0; i < kFracLimbs; i++)
        v *= 1.0 / 4294967296.0;
    return v;
}

// 2/pi = sum of kTwoOverPiWords[i] 2^(-32 (i + 1)).
const uint32_t kTwoOverPiWords[48] = {
    0xa2f9836e, 0x4e441529, 0xfc2757d1, 0xf534ddc0, 0xdb629599, 0x3c439041, 0xfe5163ab, 0xdebbc561,
    0xb7246e3a, 0x424dd2e0, 0x06492eea, 0x09d1921c, 0xfe1deb1c, 0xb129a73e, 0xe88235f5, 0x2ebb4484,
    0xe99c7026, 0xb45f7e41, 0x3991d639, 0x835339f4, 0x9c845f8b, 0xbdf9283b, 0x1ff897ff, 0xde05980f,
    0xef2f118b, 0x5a0a6d1f, 0x6d367ecf, 0x27cb09b7, 0x4f463f66, 0x9e5fea2d, 0x7527bac7, 0xebe5f17b,
    0x3d0739f7, 0x8a5292ea, 0x6bfb5fb1, 0x1f8d5d08, 0x56033046, 0xfc7b6bab, 0xf0cfbc20, 0x9af4361d,
    0xa9e39161, 0x5ee61b08, 0x6599855f, 0x14a06840, 0x8dffd880, 0x4d732731, 0x06061556, 0xca73a8c9};

// pi/2 with 448 fractional bits, least significant limb first.
const uint32_t kPiOver2Limbs[15] = {0xe4be286e, 0x605614db, 0x9a748636, 0xdf2a3367, 0x1c6809bb,
                                    0xa29410f3, 0x76273644, 0x04177d4c, 0x14cf98e8, 0x52049c11,
                                    0x01b839a2, 0x898cc517, 0x42d18469, 0x921fb544, 0x00000001};

// ax = m 2^e (ax >= 2^-27): the quadrant and |r| of ax = (4n + quadrant) pi/2 + r,
// |r| <= pi/4, and whether r < 0.
void reduceExact(double ax, int* quadrant, Fix* r, bool* negative) {
    uint64_t bits;
    std::memcpy(&bits, &ax, sizeof bits);
    int be = (int)(bits >> 52);
    uint64_t m = bits & ((1ull << 52) - 1);
    if (be) m |= 1ull << 52;
    int e = (be ? be : 1) - 1075;
    // Words before i0 only add multiples of 4 to ax 2/pi.
    int i0 = e - 2 >= 0 ? (e - 2) / 32 : 0;
    const int L = 17;
    // P = m * (words i0 .. i0 + L - 1), its least significant bit worth 2^lambda.
    uint32_t p[L + 2] = {};
    for (int j = 0; j < L; j++) {
        uint32_t word = kTwoOverPiWords[i0 + L - 1 - j];
        uint64_t t = (m & 0xffffffffu) * word + p[j];
        p[j] = (uint32_t)t;
        uint64_t carry = t >> 32;
        t = (m >> 32) * word + p[j + 1] + carry;
        p[j + 1] = (uint32_t)t;
        carry = t >> 32;
        for (int k = j + 2; carry; k++) {
            t = (uint64_t)p[k] + carry;
            p[k] = (uint32_t)t;
            carry = t >> 32;
        }
    }
    int lambda = e - 32 * (i0 + L);
    int shift = -(lambda + 32 * kFracLimbs); // 126..240
    Fix y;                                   // ax 2/pi mod 4, 384 fractional bits
    int limbs = shift / 32, b = shift % 32;
    for (int i = 0; i <= kFracLimbs; i++) {
        int src = i + limbs;
        uint64_t v = src < L + 2 ? p[src] >> b : 0;
        if (b && src + 1 < L + 2) v |= (uint64_t)p[src + 1] << (32 - b);
        y.w[i] = (uint32_t)v;
    }
    int q = (int)(y.w[kFracLimbs] & 3);
    y.w[kFracLimbs] = 0;
    *negative = (y.w[kFracLimbs - 1] >> 31) != 0;
    if (*negative) {
        y = subtract(fromInteger(1), y);
        q = (q + 1) & 3;
    }
    Fix pio2;
    for (int i = 0; i <= kFracLimbs; i++)
        pio2.w[i] = kPiOver2Limbs[i + 2];
    *r = multiply(y, pio2);
    *quadrant = q;
}

// sin r and cos r for 0 <= r < 1 by their Taylor series.
void sinCosExact(const Fix& r, Fix* s, Fix* c) {
    Fix r2 = multiply(r, r);
    Fix sPos = r, sNeg, cPos = fromInteger(1), cNeg;
    Fix st = r, ct = fromInteger(1);
    for (uint32_t n = 1; !isZero(st) || !isZero(ct); n++) {
        ct = divideSmall(multiply(ct, r2), (2 * n - 1) * (2 * n));
        st = divideSmall(multiply(st, r2), (2 * n) * (2 * n + 1));
        if (n & 1) {
            sNeg = add(sNeg, st);
            cNeg = add(cNeg, ct);
        } else {
            sPos = add(sPos, st);
            cPos = add(cPos, ct);
        }
    }
    *s = subtract(sPos, sNeg);
    *c = subtract(cPos, cNeg);
}

struct Signed {
    Fix v;
    bool negative;
};

// |t| > M 2^E for t = n / d (n, d > 0)?
int compareMid(const Fix& n, const Fix& d, uint64_t M, int E) {
    Fix md = multiply(fromInteger(M), d);
    return E < 0 ? compare(shiftLeft(n, -E), md) : compare(n, shiftLeft(md, E));
}

// Splits a positive finite value of the given precision into mantissa
// m (2^(bits-1) <= m < 2^bits) and exponent: v = m 2^e. Normal values only.
void decompose(double v, int precision, uint64_t* m, int* e) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    uint64_t mant = (bits & ((1ull << 52) - 1)) | (1ull << 52);
    int exp = (int)(bits >> 52) - 1075;
    int drop = 53 - precision; // the value already has that precision
    *m = mant >> drop;
    *e = exp + drop;
}

// n / d rounded to nearest (even) with the given precision, 53 or 24 bits.
double roundQuotient(Signed n, Signed d, int precision) {
    bool negative = n.negative != d.negative;
    double guess = toDouble(n.v) / toDouble(d.v);
    if (precision == 24) guess = (float)guess;
    uint64_t m;
    int e;
    decompose(guess, precision, &m, &e);
    const uint64_t lowest = 1ull << (precision - 1), top = 1ull << precision;
    for (;;) {
        if (compareMid(n.v, d.v, 2 * m + 1, e - 1) > 0) { // above the midpoint with the next
            if (++m == top) m = lowest, e++;
            continue;
        }
        bool below = m == lowest ? compareMid(n.v, d.v, 4 * m - 1, e - 2) < 0
                                 : compareMid(n.v, d.v, 2 * m - 1, e - 1) < 0;
        if (below) {
            if (--m < lowest) m = top - 1, e--;
            continue;
        }
        break;
    }
    // m 2^e is exactly representable: build it by exact scaling.
    double v = (double)m;
    for (; e > 0; e--)
        v *= 2;
    for (; e < 0; e++)
        v *= 0.5;
    return negative ? -v : v;
}

double exact(Fn fn, double ax, bool xNegative, int precision) {
    int q;
    Fix r, s, c;
    bool rNegative;
    reduceExact(ax, &q, &r, &rNegative);
    sinCosExact(r, &s, &c);
    Signed ps = {s, rNegative}, ns = {s, !rNegative}, pc = {c, false}, nc = {c, true};
    Signed num, den = {fromInteger(1), false};
    switch (fn) {
    case Fn::Sin:
        num = q == 0 ? ps : q == 1 ? pc : q == 2 ? ns : nc;
        break;
    case Fn::Cos:
        num = q == 0 ? pc : q == 1 ? ns : q == 2 ? nc : ps;
        break;
    case Fn::Tan:
        num = (q & 1) ? nc : ps;
        den = (q & 1) ? ps : pc;
        break;
    }
    if (xNegative && fn != Fn::Cos) num.negative = !num.negative;
    return roundQuotient(num, den, precision);
}

double evaluate(Fn fn, double x) {
    double ax = absd(x);
    if (!(ax <= 1.7976931348623157e308)) return x - x; // NaN for infinities and NaN
    if (ax < 0x1p-27) return fn == Fn::Cos ? 1.0 : x;  // below half an ulp from these
    DD v;
    double out;
    if (quick(fn, ax, &v) && settledDouble(v, &out)) return (x < 0 && fn != Fn::Cos) ? -out : out;
    return exact(fn, ax, x < 0, 53);
}

} // namespace

double exactSin(double x) {
    return evaluate(Fn::Sin, x);
}

double exactCos(double x) {
    return evaluate(Fn::Cos, x);
}

double exactTan(double x) {
    return evaluate(Fn::Tan, x);
}

float exactCosf(float x) {
    double ax = absd(x);
    if (!(ax <= 1.7976931348623157e308)) return x - x;
    if (ax < 0x1p-13) return 1.0f; // 1 - x^2/2 rounds to 1 in float
    DD v;
    float out;
    if (quick(Fn::Cos, ax, &v) && settledFloat(v, &out)) return out;
    return (float)exact(Fn::Cos, ax, false, 24);
}
