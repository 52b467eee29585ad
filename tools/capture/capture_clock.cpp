// Products go through 128 bits so a year of passes at any rate the
// options accept stays exact; nothing is accumulated.
#include "capture/capture_clock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const int64_t kMaxTerm = 1000000;

int64_t gcd(int64_t x, int64_t y) {
    while (y) {
        int64_t r = x % y;
        x = y;
        y = r;
    }
    return x;
}

// floor(x * y / z) and ceil(x * y / z) for non-negative x, y and positive z.
int64_t mulDivFloor(int64_t x, int64_t y, int64_t z) {
    return (int64_t)((__int128)x * y / z);
}
int64_t mulDivCeil(int64_t x, int64_t y, int64_t z) {
    return (int64_t)(((__int128)x * y + z - 1) / z);
}

bool parseTerm(const char* s, const char** end, int64_t* v) {
    if (*s < '0' || *s > '9') return false;
    char* e = nullptr;
    errno = 0;
    long long n = std::strtoll(s, &e, 10);
    if (errno || n <= 0 || n > kMaxTerm) return false;
    *end = e;
    *v = n;
    return true;
}

} // namespace

bool parseRate(const char* text, Rate* rate) {
    const char* end = nullptr;
    int64_t a, b = 1;
    if (!parseTerm(text, &end, &a)) return false;
    if (*end == '/' && !parseTerm(end + 1, &end, &b)) return false;
    if (*end) return false;
    int64_t g = gcd(a, b);
    rate->a = a / g;
    rate->b = b / g;
    return true;
}

static const int64_t kMaxSeconds = 365 * 86400;

bool parseSeconds(const char* text, int64_t* p, int64_t* q) {
    int64_t num = 0, den = 1;
    bool digits = false, point = false;
    for (const char* c = text; *c; c++) {
        if (*c == '.' && !point) {
            point = true;
        } else if (*c >= '0' && *c <= '9') {
            // At most a year, to a microsecond.
            if (num > kMaxSeconds * 1000000 || (point && den == 1000000)) return false;
            num = num * 10 + (*c - '0');
            if (point) den *= 10;
            digits = true;
        } else {
            return false;
        }
    }
    if (!digits || num == 0 || num > kMaxSeconds * den) return false;
    int64_t g = gcd(num, den);
    *p = num / g;
    *q = den / g;
    return true;
}

CaptureClock::CaptureClock(Rate passRate, int64_t loadingMs)
    : rate_(passRate), firstDemo_(mulDivCeil(loadingMs, passRate.a, 1000 * passRate.b)) {}

int64_t CaptureClock::passMs(int64_t j) const {
    return mulDivFloor(j, 1000 * rate_.b, rate_.a);
}

int64_t CaptureClock::requestsBefore(int64_t j) const {
    if (j <= firstDemo_) return 0;
    // ceil((T_j - U) 44100 / 2048) with T_j - U = (j - j_f) b / a.
    return mulDivCeil(j - firstDemo_, rate_.b * CAPTURE_AUDIO_RATE,
                      rate_.a * CAPTURE_DEVICE_FRAMES);
}

int64_t CaptureClock::silenceFrames() const {
    return mulDivCeil(firstDemo_, rate_.b * CAPTURE_AUDIO_RATE, rate_.a);
}

int64_t CaptureClock::soundtrackFrames(int64_t n) const {
    return mulDivFloor(n, rate_.b * CAPTURE_AUDIO_RATE, rate_.a);
}

int64_t CaptureClock::passesFor(int64_t p, int64_t q) const {
    return mulDivCeil(p, rate_.a, q * rate_.b);
}
