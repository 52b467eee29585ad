#include "temp_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

static bool makeTempName(const char* path, char* temp, size_t size) {
    if (std::snprintf(temp, size, "%s.partXXXXXX", path) >= (int)size) {
        temp[0] = 0;
        errno = ENAMETOOLONG;
        return false;
    }
    return true;
}

// mkstemp and mkdtemp make private entries; the output gets the usual mode.
static mode_t usualMode(mode_t full) {
    mode_t mask = umask(0);
    umask(mask);
    return full & ~mask;
}

int makeTempFile(const char* path, char* temp, size_t size) {
    if (!makeTempName(path, temp, size)) return -1;
    int fd = mkstemp(temp);
    if (fd < 0) {
        temp[0] = 0;
        return -1;
    }
    fchmod(fd, usualMode(0666));
    return fd;
}

bool makeTempDir(const char* path, char* temp, size_t size) {
    if (!makeTempName(path, temp, size)) return false;
    if (!mkdtemp(temp)) {
        temp[0] = 0;
        return false;
    }
    chmod(temp, usualMode(0777));
    return true;
}
