#include "capture/capture_text.h"

#include <cerrno>
#include <cstdlib>

namespace {

const int64_t kMaxTerm = 1000000;
const int64_t kMaxSeconds = 365 * 86400;

int64_t gcd(int64_t x, int64_t y) {
    while (y) {
        int64_t r = x % y;
        x = y;
        y = r;
    }
    return x;
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

// A decimal in lo..hi followed by `stop`; *rest is just past the stop.
bool parseIntUpTo(const char* s, long lo, long hi, int* v, char stop, const char** rest) {
    char* end = nullptr;
    errno = 0;
    long l = std::strtol(s, &end, 10);
    if (end == s || *end != stop || errno == ERANGE || l < lo || l > hi) return false;
    *v = (int)l;
    *rest = end + 1;
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

bool parseSize(const char* s, int* w, int* h) {
    const char* rest = nullptr;
    int width = 0, height = 0;
    if (!parseIntUpTo(s, 1, 4096, &width, 'x', &rest) ||
        !parseIntUpTo(rest, 1, 4096, &height, '\0', &rest))
        return false;
    *w = width;
    *h = height;
    return true;
}
