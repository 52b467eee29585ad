// How the capture starts ffmpeg and ffprobe: a program that cannot run is a
// failure at once (the capture names it), not a child that exits with 127;
// arguments arrive whole, unexpanded, with none lost; the child reads
// /dev/null, not the tool's input, and finds our descriptors where it was
// told; a child in a group of its own leads it, and dies of the signals the
// tool itself ignores.
#include "capture/spawn_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Runs `args`, one pipe at each of the child's descriptors `fds`: what it
// wrote there, and its exit status.
std::string output(const std::vector<std::string>& args, const std::vector<int>& fds, int* status) {
    int p[2];
    EXPECT_EQ(pipe2(p, O_CLOEXEC), 0);
    std::vector<ChildDescriptor> descriptors;
    for (int fd : fds)
        descriptors.push_back({p[1], fd});
    int error = 0;
    pid_t pid = spawnProcess(args, descriptors, ChildGroup::Ours, &error);
    close(p[1]);
    EXPECT_GT(pid, 0) << std::strerror(error);
    std::string out;
    char buf[256];
    for (ssize_t n; (n = read(p[0], buf, sizeof buf)) > 0;)
        out.append(buf, (size_t)n);
    close(p[0]);
    int wstatus = 0;
    if (pid > 0) waitpid(pid, &wstatus, 0);
    *status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return out;
}

// Whether `sig` is ignored by process `pid`, from /proc/PID/status.
bool ignores(pid_t pid, int sig) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* f = std::fopen(path, "r");
    if (!f) return false;
    char line[256];
    unsigned long long mask = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "SigIgn: %llx", &mask) == 1) break;
    std::fclose(f);
    return (mask >> (sig - 1)) & 1;
}

TEST(SpawnProcess, AProgramThatCannotRunIsAFailureNotAChild) {
    int error = 0;
    EXPECT_EQ(spawnProcess({"/nonexistent/ffmpeg", "-version"}, {}, ChildGroup::Own, &error), -1);
    EXPECT_EQ(error, ENOENT);
    error = 0;
    // A directory: there, but not a program.
    EXPECT_EQ(spawnProcess({"/", "-version"}, {}, ChildGroup::Ours, &error), -1);
    EXPECT_EQ(error, EACCES);
}

TEST(SpawnProcess, ArgumentsArriveWholeAndUnexpanded) {
    int status = -2;
    std::string out = output({"/bin/sh", "-c", "for a; do printf '[%s]' \"$a\" >&3; done", "sh",
                              "out file.mkv", "", "*", "$HOME", "a'b\"c", "-x"},
                             {3}, &status);
    EXPECT_EQ(out, "[out file.mkv][][*][$HOME][a'b\"c][-x]");
    EXPECT_EQ(status, 0);
}

TEST(SpawnProcess, TheChildReadsNothingOfOurInputAndWritesWhereItWasPut) {
    // Our standard input holds something the child must not see.
    int in[2];
    ASSERT_EQ(pipe(in), 0);
    ASSERT_EQ(write(in[1], "ours\n", 5), 5);
    close(in[1]);
    int saved = dup(0);
    dup2(in[0], 0);
    close(in[0]);
    int status = -2;
    std::string out = output({"/bin/sh", "-c", "cat; echo end"}, {1}, &status);
    dup2(saved, 0);
    close(saved);
    EXPECT_EQ(out, "end\n");
    // One pipe at both 1 and 2, as ffprobe is read back.
    out = output({"/bin/sh", "-c", "echo out; echo err >&2"}, {1, 2}, &status);
    EXPECT_EQ(out, "out\nerr\n");
    EXPECT_EQ(status, 0);
}

TEST(SpawnProcess, AChildInItsOwnGroupKeepsNoIgnoredStopSignal) {
    // The tool may ignore these (nohup, a reader gone); ffmpeg must still die of them.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGHUP, SIG_IGN);
    int error = 0;
    pid_t own = spawnProcess({"/bin/sleep", "30"}, {}, ChildGroup::Own, &error);
    pid_t ours = spawnProcess({"/bin/sleep", "30"}, {}, ChildGroup::Ours, &error);
    ASSERT_GT(own, 0);
    ASSERT_GT(ours, 0);
    // kill(-pid) then reaches it and whatever it starts, and a Ctrl-C at the
    // terminal only us.
    EXPECT_EQ(getpgid(own), own);
    EXPECT_EQ(getpgid(ours), getpgrp());
    EXPECT_FALSE(ignores(own, SIGPIPE));
    EXPECT_FALSE(ignores(own, SIGHUP));
    EXPECT_TRUE(ignores(ours, SIGPIPE)); // inherited: only a group of its own resets them
    for (pid_t pid : {own, ours}) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

} // namespace
