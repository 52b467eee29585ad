// isoloop-tool's command-line rules, the same for the tool and every command:
// help and version on standard output with status 0, options told from
// operands, bad usage status 2 on standard error, and never a file named
// after an option.
#include "files_and_commands.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class ToolRules : public ::testing::Test {
  protected:
    std::string dir, out, err;
    void SetUp() override {
        char tmpl[] = "/tmp/isoloop-rules-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { runCommand("rm -rf '" + dir + "'*"); }
    // Runs the tool in the empty directory; streams are kept beside it.
    int tool(const std::string& args) {
        int status = runCommand("cd '" + dir + "' && '" ISOLOOP_BINARY_DIR "/isoloop-tool' " +
                                args + " >'" + dir + ".out' 2>'" + dir + ".err'");
        out = readFile(dir + ".out"), err = readFile(dir + ".err");
        return status;
    }
};

const char* const kCommands[] = {"pack",          "pack make",  "pack info",    "pack extract",
                                 "pack build",    "pack sheet", "render-music", "export-meshes",
                                 "dump-textures", "frame"};

TEST_F(ToolRules, HelpAndVersionEverywhereOnStandardOutputAndNoFile) {
    std::vector<std::string> asks = {"-h", "--help", "help", "--version"};
    for (std::string c : kCommands)
        for (const char* a : {" -h", " --help", " --version"})
            asks.push_back(c + a);
    // A value that is really a request for help is one.
    asks.push_back("render-music --seconds 1 --out --help");
    asks.push_back("frame --incs 1 --time 0 --out -h");
    for (const std::string& a : asks) {
        bool version = a.find("--version") != std::string::npos;
        EXPECT_EQ(tool(a), 0) << a << ": " << err;
        if (version)
            EXPECT_EQ(out, "isoloop-tool " ISOLOOP_VERSION "\n") << a;
        else
            EXPECT_EQ(out.rfind("usage: isoloop-tool", 0), 0u) << a << ": " << out;
        EXPECT_EQ(err, "") << a;
    }
    EXPECT_EQ(listDirectory(dir), std::vector<std::string>{});
}

TEST_F(ToolRules, TopLevelUsageListsEveryCommand) {
    ASSERT_EQ(tool("--help"), 0);
    for (std::string c : kCommands)
        EXPECT_NE(out.find("isoloop-tool " + c + " "), std::string::npos) << c << "\n" << out;
}

// Where an operand or a value is expected, anything else that starts with
// '-' is an unknown option or a missing value: status 2, a message naming
// the command, nothing written; "-" is standard output only where it can be.
TEST_F(ToolRules, OptionsAreNeverTakenForFileNames) {
    const char* const bad[] = {
        "",
        "-x",
        "--bogus",
        "nosuchcommand",
        "pack",
        "pack make",
        "pack make -x",
        "pack make --out",
        "pack make -",
        "pack sheet x.3ds -",
        "pack frobnicate x",
        "export-meshes -d",
        "export-meshes -",
        "dump-textures --pack",
        "dump-textures --pack -p d",
        "render-music --seconds 1 --out --events e.tsv",
        "render-music --seconds 1 --out -x.wav",
        "render-music --seconds 1 --out m.wav extra",
        "frame --incs 1 --time 0 --out -",
        "frame --incs 1 --time 0 --out --size 8x8",
    };
    for (const char* a : bad) {
        EXPECT_EQ(tool(a), 2) << a;
        EXPECT_EQ(out, "") << a;
        // The reason, then where the usage is: never the whole usage.
        EXPECT_EQ(err.find("usage:"), std::string::npos) << a << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << a << ": " << err;
        EXPECT_NE(err.find("\nTry 'isoloop-tool "), std::string::npos) << a << ": " << err;
        EXPECT_EQ(err.substr(err.size() - 10), " --help'.\n") << a << ": " << err;
    }
    EXPECT_EQ(listDirectory(dir), std::vector<std::string>{});
}

// After "--", or given with "=", a name that starts with '-' is a file name
// like any other.
TEST_F(ToolRules, DoubleDashEndsOptionsAndEqualsGivesAValue) {
    ASSERT_EQ(tool("pack make -- -p.3ds"), 0) << err;
    ASSERT_EQ(tool("pack info -- -p.3ds"), 0) << err;
    EXPECT_NE(out.find("11 images"), std::string::npos) << out;
    ASSERT_EQ(tool("render-music --seconds 0.5 --out=-m.wav"), 0) << err;
    ASSERT_EQ(tool("dump-textures -- --help"), 0) << err;
    EXPECT_EQ(listDirectory(dir + "/--help").size(), 18u);
    EXPECT_EQ(listDirectory(dir), (std::vector<std::string>{"--help", "-m.wav", "-p.3ds"}));
}

} // namespace
