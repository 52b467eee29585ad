// Temporary outputs of the tools: a file or a directory named PATH.partXXXXXX
// next to where the finished output will be renamed to, created with the
// permissions a new file or directory would get. The name is written into
// temp (size bytes); on failure temp is emptied and errno tells why.
#pragma once
#include <cstddef>

// An open descriptor of the new file, or -1.
int makeTempFile(const char* path, char* temp, size_t size);

// True when the new directory was made.
bool makeTempDir(const char* path, char* temp, size_t size);
