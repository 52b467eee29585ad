// Opening an input file (the picture pack, a picture) without ever blocking:
// a FIFO, device, socket or directory is refused at once, before any read
// could wait on it. Plain code; any thread.
#pragma once
#include <cstdio>
#include <string>

struct RegularFile {
    FILE* file = nullptr;             // open for binary reading, blocking; the caller closes it
    long long size = 0;               // bytes, when file is open
    const char* notRegular = nullptr; // what the path is instead: "a FIFO", "a directory"...
    std::string error;                // when file is null: "path: why"
};

RegularFile openRegularFile(const std::string& path);
