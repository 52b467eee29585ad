// Starting a helper program (ffmpeg, ffprobe) without a shell: each argument
// reaches it whole, spaces, quotes and all. Its standard input is /dev/null,
// never the tool's own; the descriptors given are placed at the numbers
// asked for, and ours that are close-on-exec stay out of it. Main thread.
#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

// One of our open descriptors and the number it takes in the child. An
// `ours` must not be one of the `child` numbers (pipe ends at 10 and above
// are safe).
struct ChildDescriptor {
    int ours;
    int child;
};

// Ours: the child stays in our process group and inherits our signal
// dispositions. Own: it leads a group of its own (a Ctrl-C at the terminal
// reaches only us; kill(-pid) reaches it and whatever it starts) and begins
// with SIGPIPE, SIGINT, SIGTERM and SIGHUP at their defaults, whatever ours are.
enum class ChildGroup { Ours, Own };

// Runs args[0], a path (PATH is not searched), with args as its arguments.
// The child's process id, or -1 with *error an errno value when it cannot
// run: a missing or non-executable program is that too, not a child that
// exits with 127.
pid_t spawnProcess(const std::vector<std::string>& args,
                   const std::vector<ChildDescriptor>& descriptors, ChildGroup group, int* error);
