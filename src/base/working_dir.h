// Where the demo finds its picture pack: the directory of the executable.
#pragma once
#include <string>

enum { WORKING_DIR_SIZE = 4096 };
extern char workingDir[WORKING_DIR_SIZE]; // no trailing slash; "." or "" (unknown)

// Fills workingDir from an invocation path: the part before the last '/',
// or "." when there is none (or it is the first character). A directory too
// long for the buffer leaves workingDir empty, so no pack is opened from a
// truncated path.
void setWorkingDir(const char* path);

// The executable's real path (symlinks and PATH resolved) when the system can
// tell it, else argv0 as given.
std::string executablePath(const char* argv0);
