#include "output_dir.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool isEmptyDirectory(const std::string& path) {
    DIR* d = opendir(path.c_str());
    if (!d) return false;
    int entries = 0;
    while (readdir(d))
        entries++;
    closedir(d);
    return entries <= 2;
}

bool OutputDir::open(const std::string& dir, std::string* why) {
    dir_ = dir;
    std::string target = followLinks(dir);
    while (target.size() > 1 && target.back() == '/')
        target.pop_back();
    struct stat st;
    if (stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            *why = std::strerror(errno);
            return false;
        }
    } else if (!S_ISDIR(st.st_mode)) {
        *why = "it is not a directory";
        return false;
    } else if (!isEmptyDirectory(target)) {
        real_ = target;
        return true;
    }
    int k = outputs_.count();
    if (!outputs_.addDirectory(target)) {
        *why = std::strerror(errno);
        return false;
    }
    temp_ = outputs_.temp(k);
    return true;
}

FILE* OutputDir::create(const std::string& name, std::string* why) {
    int fd;
    if (temp_.empty()) {
        fd = openOutput(outputs_, real_ + "/" + name, false, why);
        if (fd < 0) return nullptr;
    } else {
        fd = ::open((temp_ + "/" + name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            *why = std::strerror(errno);
            return nullptr;
        }
    }
    FILE* f = streamOf(fd);
    if (!f) *why = std::strerror(errno);
    return f;
}
