// Where the commands that write files and directories put them: a pipe or a
// device at OUT is written into and stays what it is, a link is followed and
// stays a link, a link loop is refused, a temporary name planted beforehand
// is never written through, and a command stopped by a signal leaves nothing,
// so a directory appears whole or not at all. Closed standard streams stay
// closed to the commands: "-" then fails instead of writing into a file that
// took descriptor 1.
#include "golden.h"

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kTool = ISOLOOP_BINARY_DIR "/isoloop-tool";
const std::string kPack = ISOLOOP_BINARY_DIR "/julia.3ds";

// A file output: the command with OUT for the output, and the first bytes a
// whole output starts with.
struct FileCommand {
    std::string args;
    std::string magic;
};

const std::string kPng = "\x89PNG";

std::vector<FileCommand> fileCommands() {
    // A pack starts with picture 0's palette: its first entry, blue green red 0.
    return {{"frame --incs 3 --time 1 --size 32x24 --out OUT", kPng},
            {"pack make OUT", ""},
            {"pack build src OUT", ""},
            {"pack sheet '" + kPack + "' OUT", kPng}};
}

const char* const kDirCommands[] = {"pack extract '" ISOLOOP_BINARY_DIR "/julia.3ds' DIR",
                                    "export-meshes DIR", "dump-textures DIR"};

std::string with(std::string args, const std::string& key, const std::string& value) {
    args.replace(args.find(key), key.size(), value);
    return args;
}

class ToolOutputs : public ::testing::Test {
  protected:
    std::string dir, err;
    void SetUp() override {
        char tmpl[] = "/tmp/isoloop-outputs-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { runCommand("rm -rf '" + dir + "' '" + dir + ".err'"); }
    // Runs a shell line in the directory; standard error kept beside it.
    int sh(const std::string& line) {
        int status = runCommand("cd '" + dir + "' && { " + line + "; } 2>'" + dir + ".err'");
        err = readFile(dir + ".err");
        return status;
    }
    int tool(const std::string& args, const std::string& redirect = "") {
        return sh("timeout -s KILL 120 '" + kTool + "' " + args + " " + redirect);
    }
    void fresh() { runCommand("rm -rf '" + dir + "' && mkdir '" + dir + "'"); }
    // The pictures pack build reads, in src/.
    void sources() {
        ASSERT_EQ(runCommand("cd '" + dir + "' && '" + kTool + "' pack extract '" + kPack +
                             "' src >/dev/null 2>&1"),
                  0);
    }
    bool is(const char* test, const std::string& name) {
        return runCommand(std::string("[ ") + test + " '" + dir + "/" + name + "' ]") == 0;
    }
};

TEST_F(ToolOutputs, PipeAtOutIsWrittenIntoAndStaysAPipe) {
    for (const FileCommand& c : fileCommands()) {
        fresh();
        sources();
        ASSERT_EQ(runCommand("mkfifo '" + dir + "/out'"), 0);
        EXPECT_EQ(sh("timeout 60 cat out >got & '" + kTool + "' " + with(c.args, "OUT", "out") +
                     "; st=$?; "
                     "wait; exit $st"),
                  0)
            << c.args << ": " << err;
        EXPECT_TRUE(is("-p", "out")) << c.args;
        std::string got = readFile(dir + "/got");
        EXPECT_GT(got.size(), 1000u) << c.args;
        EXPECT_EQ(got.substr(0, c.magic.size()), c.magic) << c.args;
        EXPECT_EQ(listDirectory(dir), (std::vector<std::string>{"got", "out", "src"})) << c.args;
    }
    for (const char* c : kDirCommands) {
        fresh();
        ASSERT_EQ(runCommand("mkfifo '" + dir + "/d'"), 0);
        EXPECT_EQ(tool(with(c, "DIR", "d"), ">/dev/null"), 1) << c;
        EXPECT_NE(err.find("cannot write 'd': it is not a directory"), std::string::npos)
            << c << ": " << err;
        EXPECT_TRUE(is("-p", "d")) << c;
        EXPECT_EQ(listDirectory(dir), std::vector<std::string>{"d"}) << c;
    }
}

// A device node of the test's own (root may make one): /dev/null's numbers.
TEST_F(ToolOutputs, DeviceAtOutIsWrittenIntoAndStaysADevice) {
    for (const FileCommand& c : fileCommands()) {
        fresh();
        sources();
        if (runCommand("mknod '" + dir + "/null' c 1 3 2>/dev/null") != 0)
            GTEST_SKIP() << "no device nodes here";
        EXPECT_EQ(tool(with(c.args, "OUT", "null")), 0) << c.args << ": " << err;
        EXPECT_TRUE(is("-c", "null")) << c.args;
        EXPECT_EQ(listDirectory(dir), (std::vector<std::string>{"null", "src"})) << c.args;
    }
}

// A link at OUT is followed (to a file still to be made, or an empty or a
// full directory) and stays a link; a loop of links is refused and kept.
TEST_F(ToolOutputs, LinksAreFollowedAndLoopsRefused) {
    for (const FileCommand& c : fileCommands()) {
        fresh();
        sources();
        runCommand("cd '" + dir + "' && ln -s made out && ln -s loop loop");
        EXPECT_EQ(tool(with(c.args, "OUT", "out")), 0) << c.args << ": " << err;
        EXPECT_TRUE(is("-L", "out") && is("-f", "made")) << c.args;
        EXPECT_EQ(readFile(dir + "/made").substr(0, c.magic.size()), c.magic) << c.args;
        EXPECT_EQ(tool(with(c.args, "OUT", "loop")), 1) << c.args;
        EXPECT_NE(err.find("'loop': Too many levels of symbolic links"), std::string::npos)
            << c.args << ": " << err;
        EXPECT_TRUE(is("-L", "loop")) << c.args;
        EXPECT_EQ(listDirectory(dir), (std::vector<std::string>{"loop", "made", "out", "src"}))
            << c.args;
    }
    for (const char* c : kDirCommands) {
        fresh();
        runCommand("cd '" + dir +
                   "' && mkdir full && touch full/old && ln -s empty e && "
                   "mkdir empty && ln -s full f && ln -s loop loop");
        EXPECT_EQ(tool(with(c, "DIR", "e"), ">/dev/null"), 0) << c << ": " << err;
        EXPECT_EQ(tool(with(c, "DIR", "f"), ">/dev/null"), 0) << c << ": " << err;
        EXPECT_TRUE(is("-L", "e") && is("-L", "f")) << c;
        size_t files = listDirectory(dir + "/empty").size();
        EXPECT_GE(files, 8u) << c;
        EXPECT_EQ(listDirectory(dir + "/full").size(), files + 1) << c;
        EXPECT_EQ(tool(with(c, "DIR", "loop"), ">/dev/null"), 1) << c;
        EXPECT_NE(err.find("Too many levels of symbolic links"), std::string::npos)
            << c << ": " << err;
        EXPECT_EQ(listDirectory(dir), (std::vector<std::string>{"e", "empty", "f", "full", "loop"}))
            << c;
    }
}

// Someone who can write beside OUT plants links where a predictable
// temporary name would go (PATH.tmp<pid>, PATH.tmp): the victim stays as it
// was, because temporaries are made new and never opened through a link.
TEST_F(ToolOutputs, PlantedTemporaryNamesAreNeverWrittenThrough) {
    for (const FileCommand& c : fileCommands()) {
        fresh();
        sources();
        ASSERT_TRUE(writeWhole(dir + "/victim", "precious"));
        // exec keeps the shell's process id: $$ is the tool's.
        EXPECT_EQ(sh("ln -s victim out.tmp$$ && ln -s victim out.tmp && exec '" + kTool + "' " +
                     with(c.args, "OUT", "out")),
                  0)
            << c.args << ": " << err;
        EXPECT_EQ(readFile(dir + "/victim"), "precious") << c.args;
        EXPECT_EQ(readFile(dir + "/out").substr(0, c.magic.size()), c.magic) << c.args;
        EXPECT_GT(readFile(dir + "/out").size(), 1000u) << c.args;
    }
    const std::pair<const char*, const char*> dirs[] = {{kDirCommands[0], "image-00.png"},
                                                        {kDirCommands[1], "mb.obj"},
                                                        {kDirCommands[2], "texture-00.png"}};
    for (const auto& [c, first] : dirs) {
        fresh();
        ASSERT_TRUE(writeWhole(dir + "/victim", "precious"));
        std::string plant = std::string("d/") + first + ".tmp";
        EXPECT_EQ(sh("mkdir d && ln -s ../victim " + plant + "$$ && ln -s ../victim " + plant +
                     " && exec '" + kTool + "' " + with(c, "DIR", "d") + " >/dev/null"),
                  0)
            << c << ": " << err;
        EXPECT_EQ(readFile(dir + "/victim"), "precious") << c;
        EXPECT_GT(readFile(dir + "/d/" + first).size(), 100u) << c;
    }
}

// A stop signal while the output is being made: 128 + the signal, and the
// directory holds what it held before, without temporaries or a partial
// directory. frame draws a large picture so that its writing takes a while.
TEST_F(ToolOutputs, StoppedCommandsLeaveNothing) {
    std::vector<std::string> commands = {"frame --incs 3 --time 1 --size 4096x4096 --out f.png"};
    for (const char* c : kDirCommands)
        commands.push_back(with(c, "DIR", "d"));
    for (const std::string& c : commands) {
        for (bool existing : {false, true}) {
            fresh();
            if (existing) runCommand("mkdir '" + dir + "/d' && touch '" + dir + "/d/old'");
            std::vector<std::string> before = listDirectory(dir);
            pid_t pid = fork();
            if (pid == 0) {
                std::string line =
                    "cd '" + dir + "' && exec '" + kTool + "' " + c + " >/dev/null 2>/dev/null";
                execl("/bin/sh", "sh", "-c", line.c_str(), (char*)nullptr);
                _exit(127);
            }
            // Stop it as soon as anything new shows.
            int status = 0;
            bool ended = false;
            for (int i = 0; i < 120000 && !ended; i++) {
                if (listDirectory(dir) != before || listDirectory(dir + "/d").size() > existing)
                    break;
                ended = waitpid(pid, &status, WNOHANG) == pid;
                usleep(200);
            }
            ASSERT_FALSE(ended) << c << ": ended before anything was written";
            kill(pid, SIGTERM);
            waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGTERM)
                << c << ": status " << status;
            EXPECT_EQ(listDirectory(dir), before) << c;
            if (existing) {
                EXPECT_EQ(listDirectory(dir + "/d"), std::vector<std::string>{"old"}) << c;
            }
        }
    }
}

// Descriptors 0, 1 and 2 closed by the caller: an output file never takes
// descriptor 1, "-" (standard output) is refused with 1 and leaves nothing,
// and the files written are exactly those of a run with all three open.
TEST_F(ToolOutputs, ClosedStandardStreamsStayClosed) {
    const char* const refused[] = {
        "render-music --seconds 2 --out m.wav --events -",
        "render-music --seconds 2 --out -",
        "capture --frames f --seconds 0.1 --size 32x24 --quiet --log -",
    };
    for (const char* c : refused) {
        fresh();
        EXPECT_EQ(tool(c, ">&-"), 1) << c << ": " << err;
        EXPECT_NE(err.find("standard output"), std::string::npos) << c << ": " << err;
        EXPECT_NE(err.find("closed"), std::string::npos) << c << ": " << err;
        EXPECT_EQ(listDirectory(dir), std::vector<std::string>{}) << c;
    }
    fresh();
    ASSERT_EQ(tool("render-music --seconds 2 --out a.wav --events a.tsv"), 0) << err;
    EXPECT_EQ(
        sh("'" + kTool + "' render-music --seconds 2 --out b.wav --events b.tsv <&- >&- 2>&-"), 0);
    EXPECT_EQ(readFile(dir + "/a.wav"), readFile(dir + "/b.wav"));
    EXPECT_EQ(readFile(dir + "/a.tsv"), readFile(dir + "/b.tsv"));
    EXPECT_EQ(sh("'" + kTool + "' pack make p.3ds <&- >&- 2>&-"), 0);
    EXPECT_EQ(readFile(dir + "/p.3ds"), readFile(kPack));
}

} // namespace
