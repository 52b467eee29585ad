#include "base/working_dir.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

char workingDir[WORKING_DIR_SIZE] = ".";

void setWorkingDir(const char* path) {
    size_t len = path ? std::strlen(path) : 0;
    size_t p = len;
    while (p > 0 && path[p - 1] != '/')
        p--;
    if (p <= 1) { // no slash, or the only one is the first character
        std::strcpy(workingDir, ".");
        return;
    }
    size_t dirLen = p - 1;
    if (dirLen >= sizeof workingDir) {
        workingDir[0] = '\0';
        return;
    }
    std::memcpy(workingDir, path, dirLen);
    workingDir[dirLen] = '\0';
}

std::string executablePath(const char* argv0) {
    char buf[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n > 0 && n < PATH_MAX) {
        buf[n] = '\0';
        return buf;
    }
    if (argv0 && std::strchr(argv0, '/')) {
        if (char* real = realpath(argv0, nullptr)) {
            std::string s(real);
            std::free(real);
            return s;
        }
    }
    return argv0 ? argv0 : "";
}
