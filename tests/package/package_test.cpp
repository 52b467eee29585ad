// The Debian package as a user gets it: cpack builds it, dpkg-deb unpacks it
// into a scratch root, the layout and dependencies are what the desktop and
// dpkg expect, the installed demo runs from PATH and finds its pack, the
// installed tool answers, and lintian, desktop-file-validate and appstreamcli
// find no error.
#include "files_and_commands.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class DebianPackage : public ::testing::Test {
  protected:
    std::string dir, root, deb;
    void SetUp() override {
        if (runCommand("command -v dpkg-deb >/dev/null") != 0)
            GTEST_SKIP() << "no dpkg-deb: not a Debian system";
        char tmpl[] = "/tmp/isoloop-deb-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl, root = dir + "/root";
        ASSERT_EQ(runCommand("cd '" ISOLOOP_BINARY_DIR "' && cpack -G DEB -B '" + dir + "' >'" +
                             dir + "/cpack.log' 2>&1"),
                  0)
            << readFile(dir + "/cpack.log");
        deb = dir + "/isoloop_" ISOLOOP_VERSION "_" + shell("dpkg --print-architecture") + ".deb";
        ASSERT_EQ(runCommand("dpkg-deb -x '" + deb + "' '" + root + "'"), 0);
    }
    void TearDown() override {
        if (!dir.empty()) runCommand("rm -rf '" + dir + "'");
    }
    // Standard output of a shell command, without the last line break.
    std::string shell(const std::string& command) {
        runCommand("{ " + command + "; } >'" + dir + "/shell.out' 2>&1");
        std::string s = readFile(dir + "/shell.out");
        if (!s.empty() && s.back() == '\n') s.pop_back();
        return s;
    }
};

TEST_F(DebianPackage, LayoutDependenciesChecksAndARunFromPath) {
    std::vector<std::string> want = {
        "usr/bin/isoloop -> ../lib/isoloop/isoloop",
        "usr/bin/isoloop-tool -> ../lib/isoloop/isoloop-tool",
        "usr/lib/isoloop/isoloop",
        "usr/lib/isoloop/isoloop-tool",
        "usr/lib/isoloop/julia.3ds",
        "usr/share/applications/org.example.isoloop.desktop",
        "usr/share/doc/isoloop/changelog.gz",
        "usr/share/doc/isoloop/copyright",
        "usr/share/man/man1/isoloop-tool.1.gz",
        "usr/share/man/man6/isoloop.6.gz",
        "usr/share/metainfo/org.example.isoloop.metainfo.xml",
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        want.push_back("usr/share/icons/hicolor/" + std::to_string(size) + "x" +
                       std::to_string(size) + "/apps/isoloop.png");
    std::sort(want.begin(), want.end());
    std::istringstream listed(
        shell("cd '" + root + "' && find . ! -type d -printf '%P%l\\n' | sort"));
    std::vector<std::string> got;
    for (std::string line; std::getline(listed, line);)
        got.push_back(line);
    for (std::string& w : want) // find prints a link's target right after its name
        if (size_t arrow = w.find(" -> "); arrow != std::string::npos) w.erase(arrow, 4);
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);

    // Either SDL 1.2 satisfies the package; libGL is loaded by SDL at run time.
    std::string depends = shell("dpkg-deb -f '" + deb + "' Depends");
    for (const char* d : {"libsdl1.2debian (>= 1.2.15) | libsdl1.2-compat, libgl1, ", "libsndfile1",
                          "libpng16-16", "libfreetype6", "libimagequant0", "libegl1"})
        EXPECT_NE(depends.find(d), std::string::npos) << d << " in " << depends;
    EXPECT_EQ(depends.find("libsdl1.2debian", 20), std::string::npos) << depends;

    const std::string share = root + "/usr/share/";
    EXPECT_EQ(
        runCommand("desktop-file-validate '" + share + "applications/org.example.isoloop.desktop'"),
        0);
    EXPECT_EQ(shell("appstreamcli validate --no-net '" + share +
                    "metainfo/org.example.isoloop.metainfo.xml' >/dev/null; echo $?"),
              "0");
    EXPECT_EQ(runCommand("lintian --no-cfg --fail-on error '" + deb + "' >'" + dir +
                         "/lintian.log' 2>&1"),
              0)
        << readFile(dir + "/lintian.log");
    // Built with Debian's hardening: lintian finds no unfortified calls and
    // no lazy binding (informational tags, asked for by name).
    EXPECT_EQ(shell("lintian --no-cfg --display-info --tags "
                    "hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-pie '" +
                    deb + "' 2>&1 | grep hardening"),
              "");

    // From PATH, as the desktop entry starts it (here in a window): the real
    // executable is the installed one, it finds the pack beside it, draws
    // frames for a few seconds and ends with status 0 on SIGTERM.
    const std::string path = "PATH='" + root + "/usr/bin':/usr/bin:/bin ";
    std::string ran = shell(
        "cd '" + dir + "' && " + path + "SDL_AUDIODRIVER=dummy isoloop window >demo.out 2>&1 & " +
        "p=$!; i=0; while ! grep -qs 'hmm mag die' '" + dir + "/demo.out' && [ $i -lt 1200 ]; " +
        "do sleep 0.05; i=$((i+1)); done; sleep 3; readlink /proc/$p/exe; kill -TERM $p; " +
        "wait $p; echo $?");
    EXPECT_EQ(ran, root + "/usr/lib/isoloop/isoloop\n0") << readFile(dir + "/demo.out");
    std::string out = readFile(dir + "/demo.out");
    EXPECT_EQ(out.rfind("filtering ground radiation..", 0), 0u) << out;
    EXPECT_EQ(out.find("not found"), std::string::npos) << out;

    EXPECT_EQ(shell(path + "isoloop-tool --version"), "isoloop-tool " ISOLOOP_VERSION);
    // The tool finds the pack beside its real executable too.
    EXPECT_EQ(shell("cd '" + dir + "' && " + path + "isoloop-tool dump-textures tex; echo $?"),
              "0");
    EXPECT_EQ(listDirectory(dir + "/tex").size(), 18u);
}

} // namespace
