// Non-blocking open, then fstat on the very file opened (no race with a
// rename), then back to ordinary blocking reads for a regular file.
#include "texture/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

RegularFile openRegularFile(const std::string& path) {
    RegularFile out;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        out.error = path + ": " + std::strerror(errno);
        return out;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        out.error = path + ": " + std::strerror(errno);
        close(fd);
        return out;
    }
    if (!S_ISREG(st.st_mode)) {
        out.notRegular = kindOf(st.st_mode);
        out.error = path + ": " + out.notRegular + ", not a regular file";
        close(fd);
        return out;
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !(out.file = fdopen(fd, "rb"))) {
        out.error = path + ": " + std::strerror(errno);
        close(fd);
        return out;
    }
    out.size = (long long)st.st_size;
    return out;
}
