#include "capture/spawn_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>

extern char** environ;

pid_t spawnProcess(const std::vector<std::string>& args,
                   const std::vector<ChildDescriptor>& descriptors, ChildGroup group, int* error) {
    if (args.empty()) {
        *error = EINVAL;
        return -1;
    }
    std::vector<std::string> copies = args; // posix_spawn takes char*, not const char*
    std::vector<char*> argv;
    for (std::string& a : copies)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    for (const ChildDescriptor& d : descriptors)
        posix_spawn_file_actions_adddup2(&actions, d.ours, d.child);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    if (group == ChildGroup::Own) {
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP})
            sigaddset(&defaults, sig);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    }
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        *error = rc;
        return -1;
    }
    return pid;
}
