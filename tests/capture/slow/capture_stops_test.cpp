// Every way a capture or a render can be stopped from outside, and every way
// ffmpeg can stop on its own: the command ends within seconds with the right
// status and a one-line reason, no encoder is left running and nothing is
// left on disk. Stand-ins for ffmpeg (shell scripts on PATH) play an encoder
// that stops reading, one that takes its time to finish; a small tmpfs, where
// the test may mount one, plays a full disk. Every run has a deadline after
// which it is killed, so a hang fails instead of stalling the suite.
#include "../tool/capture_tool.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

const std::string kTool = std::string(ISOLOOP_BINARY_DIR) + "/isoloop-tool";

// A started command, its own process group, and how it ended.
struct Started {
    pid_t pid = -1;
    int status = -1; // exit status, 128 + signal, or -1 when it hit the deadline
};

Started start(const std::string& shell) {
    Started s;
    s.pid = fork();
    if (s.pid == 0) {
        setpgid(0, 0);
        execl("/bin/sh", "sh", "-c", shell.c_str(), (char*)nullptr);
        _exit(127);
    }
    setpgid(s.pid, s.pid);
    return s;
}

// Waits up to `seconds`; past that the whole group is killed and -1 recorded.
void finish(Started& s, double seconds) {
    for (int i = 0; i < seconds * 50; i++) {
        int status = 0;
        if (waitpid(s.pid, &status, WNOHANG) == s.pid) {
            s.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return;
        }
        usleep(20000);
    }
    kill(-s.pid, SIGKILL);
    waitpid(s.pid, nullptr, 0);
    s.status = -1;
}

bool waitFor(const std::string& dir, const std::string& test, double seconds) {
    std::string cmd = "cd '" + dir + "' && " + test + " >/dev/null 2>&1";
    for (int i = 0; i < seconds * 50; i++) {
        if (std::system(cmd.c_str()) == 0) return true;
        usleep(20000);
    }
    return false;
}

// Whether the process a stand-in recorded in `pidFile` still runs.
bool running(const std::string& pidFile) {
    std::string text = readFile(pidFile);
    int pid = std::atoi(text.c_str());
    if (pid <= 0) return false;
    std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    return close != std::string::npos && stat.size() > close + 2 && stat[close + 2] != 'Z';
}

// Whether any process still works in directory dir (an encoder the command
// started inherits its working directory).
bool anyoneIn(const std::string& dir) {
    return runCommand("for p in /proc/[0-9]*; do [ \"$(readlink $p/cwd 2>/dev/null)\" = '" + dir +
                      "' ] && exit 0; done; exit 1") == 0;
}

void standIn(const std::string& bin, const std::string& body) {
    runCommand("mkdir -p '" + bin +
               "' && printf '%s\\n' '#!/bin/sh' 'echo $$ >\"$(dirname \"$0\")/pid\"' " + body +
               " >'" + bin + "/ffmpeg' && chmod +x '" + bin + "/ffmpeg'");
}

// ffmpeg stops reading and does not exit (what it does on a full disk): one
// pipe, then both. The capture notices within seconds, stops the encoder,
// says so in one line and leaves nothing.
TEST(CaptureStops, EncoderThatStopsReadingIsNoticedAndNothingIsLeft) {
    std::string dir = testDir("stalled");
    const std::pair<const char*, std::string> cases[] = {
        {"reads the pictures only", "'exec cat <&3 >/dev/null'"},
        {"reads a little, then nothing",
         "'head -c 300000 <&3 >/dev/null' 'head -c 3000 <&4 >/dev/null' 'exec sleep 600'"},
    };
    for (const auto& [what, body] : cases) {
        standIn(dir + "/bin", body);
        runCommand("mkdir -p '" + dir + "/out'");
        Started s = start("cd '" + dir + "/out' && PATH='" + dir + "/bin':$PATH exec '" + kTool +
                          "' capture out.mkv --size 64x48 --seconds 600 --log log.tsv --quiet "
                          "2>../err.txt");
        finish(s, 30);
        std::string err = readFile(dir + "/err.txt");
        EXPECT_EQ(s.status, 1) << what << ": " << err;
        EXPECT_NE(err.find("isoloop-tool capture: ffmpeg stopped reading"), std::string::npos)
            << what << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_FALSE(running(dir + "/bin/pid")) << what;
        EXPECT_TRUE(listDir(dir + "/out").empty()) << what;
        runCommand("kill -9 $(cat '" + dir + "/bin/pid') 2>/dev/null; rm -rf '" + dir + "/bin'");
    }
}

// A small tmpfs in a mount namespace of the test's own: .mp4 (where ffmpeg
// used to wait forever), .mkv and a PNG sequence fill it; each says the disk
// is full, names the output as given, and leaves nothing.
TEST(CaptureStops, FullDiskSaysSoAndLeavesNothing) {
    std::string dir = testDir("fulldisk");
    runCommand("mkdir -p '" + dir + "/small'");
    if (runCommand("unshare -m sh -c \"mount -t tmpfs -o size=1m tmpfs '" + dir +
                   "/small'\" 2>/dev/null") != 0)
        GTEST_SKIP() << "no tmpfs here; the stalled stand-in covers the hang";
    const char* const outputs[] = {"small/show.mp4", "small/show.mkv", "--frames small/shots"};
    for (const char* out : outputs) {
        Started s = start("cd '" + dir +
                          "' && exec unshare -m sh -c \"mount -t tmpfs -o size=3m "
                          "tmpfs small && '" +
                          kTool + "' capture " + out +
                          " --seconds 120 --quiet 2>err.txt; st=\\$?; ls -A small >left.txt; "
                          "exit \\$st\"");
        finish(s, 120);
        std::string err = readFile(dir + "/err.txt");
        EXPECT_EQ(s.status, 1) << out << ": " << err;
        std::string name = std::string(out).substr(std::string(out).find("small/"));
        EXPECT_EQ(err, "isoloop-tool capture: no space left on the disk for '" + name + "'\n")
            << out;
        EXPECT_EQ(readFile(dir + "/left.txt"), "") << out;
        EXPECT_FALSE(anyoneIn(dir)) << out << ": an encoder runs on";
    }
}

// The disk fills during the very last writes: a tmpfs one page smaller than
// the whole file (and two). ffmpeg used to exit with 0 and leave an .mp4
// without its index or an .mkv without its last frames; render-music missed
// the last bytes of FLAC and Ogg files. Each now says the disk is full, ends
// with 1 and leaves nothing.
TEST(CaptureStops, DiskFullAtTheLastBytesSaysSoAndLeavesNothing) {
    std::string dir = testDir("fulldisk-end");
    runCommand("mkdir -p '" + dir + "/small' '" + dir + "/ref'");
    if (runCommand("unshare -m sh -c \"mount -t tmpfs -o size=1m tmpfs '" + dir +
                   "/small'\" 2>/dev/null") != 0)
        GTEST_SKIP() << "no tmpfs here";
    struct {
        const char* command; // OUT stands for the output
        const char* out;
        const char* says;
    } cases[] = {
        {"capture OUT --size 64x48 --seconds 1 --quiet", "show.mkv",
         "isoloop-tool capture: no space left on the disk for 'small/show.mkv'\n"},
        {"capture OUT --size 64x48 --seconds 1 --quiet", "show.mp4",
         "isoloop-tool capture: no space left on the disk for 'small/show.mp4'\n"},
        {"render-music --seconds 3 --out OUT", "m.flac",
         "isoloop-tool render-music: cannot write 'small/m.flac': No space left on device\n"},
        {"render-music --seconds 3 --out OUT", "m.ogg",
         "isoloop-tool render-music: cannot write 'small/m.ogg': No space left on device\n"},
        {"render-music --seconds 3 --out OUT", "m.wav",
         "isoloop-tool render-music: cannot write 'small/m.wav': No space left on device\n"},
    };
    for (const auto& c : cases) {
        std::string command = c.command;
        command.replace(command.find("OUT"), 3, "'" + dir + "/ref/" + c.out + "'");
        ASSERT_EQ(runCommand("'" + kTool + "' " + command), 0) << command;
        struct stat st;
        ASSERT_EQ(stat((dir + "/ref/" + c.out).c_str(), &st), 0);
        long pages = (long)(st.st_size + 4095) / 4096;
        for (long short_ : {1, 2}) {
            std::string what =
                std::string(c.out) + ", " + std::to_string(short_) + " page(s) short";
            command = c.command;
            command.replace(command.find("OUT"), 3, std::string("small/") + c.out);
            Started s =
                start("cd '" + dir + "' && exec unshare -m sh -c \"mount -t tmpfs -o size=" +
                      std::to_string((pages - short_) * 4096) + " tmpfs small && '" + kTool + "' " +
                      command + " 2>err.txt; st=\\$?; ls -A small >left.txt; exit \\$st\"");
            finish(s, 60);
            std::string err = readFile(dir + "/err.txt");
            EXPECT_EQ(s.status, 1) << what << ": " << err;
            EXPECT_EQ(err, c.says) << what;
            EXPECT_EQ(readFile(dir + "/left.txt"), "") << what;
        }
    }
}

// An encoder that exits with 0 and says nothing, yet leaves the file short:
// the finished file is read back, and a short one is no output.
TEST(CaptureStops, FileLeftShortByASilentEncoderIsNoOutput) {
    std::string dir = testDir("short-file");
    std::string ffmpeg;
    if (FILE* p = popen("command -v ffmpeg", "r")) {
        char line[4096] = {};
        if (fgets(line, sizeof line, p)) ffmpeg = line;
        pclose(p);
    }
    while (!ffmpeg.empty() && ffmpeg.back() == '\n')
        ffmpeg.pop_back();
    ASSERT_FALSE(ffmpeg.empty());
    for (const char* out : {"out.mkv", "out.mp4"}) {
        for (const char* cut : {"300", "3000"}) {
            std::string what = std::string(out) + " less " + cut + " bytes";
            standIn(dir + "/bin", "'\"" + ffmpeg +
                                      "\" \"$@\" || exit' 'for f; do :; done' "
                                      "'truncate -s -" +
                                      cut + " \"${f#file:}\"'");
            runCommand("rm -rf '" + dir + "/out' && mkdir -p '" + dir + "/out'");
            Started s =
                start("cd '" + dir + "/out' && PATH='" + dir + "/bin':$PATH exec '" + kTool +
                      "' capture " + out + " --size 64x48 --seconds 1 --quiet 2>../err.txt");
            finish(s, 60);
            std::string err = readFile(dir + "/err.txt");
            EXPECT_EQ(s.status, 1) << what << ": " << err;
            EXPECT_EQ(err.rfind(std::string("isoloop-tool capture: ffmpeg left '") + out +
                                    "' incomplete: ",
                                0),
                      0u)
                << what << ": " << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
            EXPECT_TRUE(listDir(dir + "/out").empty()) << what;
        }
    }
}

// Ctrl-\, a timer running out and the user signals end the capture as
// Ctrl-C does: 128 + the signal, no encoder left, nothing left.
TEST(CaptureStops, QuitTimerAndUserSignalsLeaveNothing) {
    std::string dir = testDir("more-signals");
    for (int sig : {SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2}) {
        std::string what = "signal " + std::to_string(sig);
        runCommand("rm -rf '" + dir + "/out' && mkdir '" + dir + "/out'");
        Started s = start("cd '" + dir + "/out' && exec '" + kTool +
                          "' capture out.mkv --seconds 3600 --size 64x48 --log log.tsv "
                          "2>../err.txt");
        EXPECT_TRUE(waitFor(dir + "/out", "[ $(cat log.tsv.part* | wc -l) -gt 30 ]", 30)) << what;
        kill(s.pid, sig);
        finish(s, 30);
        EXPECT_EQ(s.status, 128 + sig) << what << ": " << readFile(dir + "/err.txt");
        EXPECT_TRUE(listDir(dir + "/out").empty()) << what;
        EXPECT_FALSE(anyoneIn(dir + "/out")) << what << ": an encoder runs on";
    }
}

// SIGINT, SIGTERM, a closed terminal (SIGHUP) and a reader gone (SIGPIPE), in
// start-up, while drawing into ffmpeg, while writing PNG files and while the
// encoder finishes: status 128 + the signal, no encoder left, nothing left.
TEST(CaptureStops, EverySignalInEveryPhaseLeavesNothing) {
    std::string dir = testDir("signals");
    // Reads everything, then takes its time over finishing, working.
    std::string slowFinish = "'cat <&4 >/dev/null & cat <&3 >/dev/null; wait' "
                             "'touch \"$(dirname \"$0\")/finishing\"' "
                             "'i=0; while [ $i -lt 100000000 ]; do i=$((i+1)); done'";
    struct {
        const char* phase;
        const char* out;
        const char* reached; // shell test in the output directory
        bool standIn;
    } phases[] = {
        {"start-up", "out.mkv --seconds 3600", "ls -A | grep -q part", false},
        {"drawing", "out.mkv --seconds 3600", "[ $(cat log.tsv.part* | wc -l) -gt 30 ]", false},
        {"writing PNGs", "--frames f --seconds 3600", "ls f.part*/ | grep -q png", false},
        {"finishing", "out.mkv --seconds 1", "[ -e ../bin/finishing ]", true}};
    for (int sig : {SIGHUP, SIGPIPE, SIGINT, SIGTERM}) {
        for (const auto& p : phases) {
            std::string what = std::string(p.phase) + ", signal " + std::to_string(sig);
            runCommand("rm -rf '" + dir + "/out' '" + dir + "/bin' && mkdir '" + dir + "/out'");
            std::string path = "$PATH";
            if (p.standIn) {
                standIn(dir + "/bin", slowFinish);
                path = "'" + dir + "/bin':$PATH";
            }
            Started s = start("cd '" + dir + "/out' && PATH=" + path + " exec '" + kTool +
                              "' capture " + p.out + " --size 64x48 --log log.tsv 2>../err.txt");
            EXPECT_TRUE(waitFor(dir + "/out", p.reached, 30)) << what;
            kill(s.pid, sig);
            finish(s, 30);
            EXPECT_EQ(s.status, 128 + sig) << what << ": " << readFile(dir + "/err.txt");
            EXPECT_TRUE(listDir(dir + "/out").empty()) << what;
            EXPECT_FALSE(anyoneIn(dir + "/out")) << what << ": an encoder runs on";
            if (p.standIn) {
                EXPECT_FALSE(running(dir + "/bin/pid")) << what;
                runCommand("kill -9 $(cat '" + dir + "/bin/pid') 2>/dev/null");
            }
        }
    }
}

// render-music stopped by a closed terminal or a reader gone while it writes
// its two outputs: 128 + the signal and neither output.
TEST(CaptureStops, RenderMusicStoppedBySignalsLeavesNothing) {
    std::string dir = testDir("music-signals");
    for (int sig : {SIGHUP, SIGPIPE, SIGINT, SIGTERM}) {
        Started s = start("cd '" + dir + "' && exec '" + kTool +
                          "' render-music --seconds 86400 --out m.flac --events e.tsv 2>/dev/null");
        EXPECT_TRUE(waitFor(dir, "[ $(cat m.flac.part* | wc -c) -gt 100000 ]", 30)) << sig;
        kill(s.pid, sig);
        finish(s, 30);
        EXPECT_EQ(s.status, 128 + sig) << sig;
        EXPECT_TRUE(listDir(dir).empty()) << sig;
    }
}

} // namespace
