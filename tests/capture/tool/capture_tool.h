// Running isoloop-tool capture from a test: the status, what it said on
// stderr, and readers for what it wrote (PNG frames, the WAV, the log).
#pragma once
#include "files_and_commands.h"
#include "texture/art/png_io.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

struct ToolRun {
    int status = -1;
    std::string err;
};

inline std::string testDir(const std::string& name) {
    std::string dir = std::string(ISOLOOP_BINARY_DIR) + "/capture-test-" + name;
    runCommand("rm -rf '" + dir + "' && mkdir -p '" + dir + "'");
    return dir;
}

// Runs `env... isoloop-tool capture args` with stderr kept.
inline ToolRun capture(const std::string& args, const std::string& env = "") {
    std::string errFile = std::string(ISOLOOP_BINARY_DIR) + "/capture-test-stderr-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string cmd = env + " '" + ISOLOOP_BINARY_DIR + "/isoloop-tool' capture " + args +
                      " </dev/null >/dev/null 2>'" + errFile + "'";
    ToolRun r;
    int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    r.err = ss.str();
    std::remove(errFile.c_str());
    return r;
}

// Names in a directory, sorted.
inline std::vector<std::string> listDir(const std::string& dir) {
    std::vector<std::string> names;
    std::string cmd = "ls -A '" + dir + "' 2>/dev/null";
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char line[4096];
        while (fgets(line, sizeof line, p)) {
            std::string s = line;
            if (!s.empty() && s.back() == '\n') s.pop_back();
            names.push_back(s);
        }
        pclose(p);
    }
    return names;
}

inline RgbaImage readFrame(const std::string& dir, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "/%06d.png", index);
    RgbaImage im;
    std::string error;
    EXPECT_TRUE(readPng(dir + name, 0, 0, &im, &error)) << error;
    return im;
}

inline std::vector<short> readWav(const std::string& path) {
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<short> samples;
    if (!f) {
        ADD_FAILURE() << "cannot read " << path;
        return samples;
    }
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.channels, 2);
    samples.resize((size_t)info.frames * 2);
    sf_readf_short(f, samples.data(), info.frames);
    sf_close(f);
    return samples;
}

// The log's rows as fields.
inline std::vector<std::vector<std::string>> readLog(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string f;
        while (std::getline(ss, f, '\t'))
            fields.push_back(f);
        rows.push_back(fields);
    }
    return rows;
}
