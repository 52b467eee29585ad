// Where the pack is looked for: the directory part of the invocation path.
#include "app/working_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

TEST(WorkingDir, DirectoryPartOfTheInvocationPath) {
    setWorkingDir("demo");
    EXPECT_STREQ(workingDir, ".");
    setWorkingDir("./demo");
    EXPECT_STREQ(workingDir, ".");
    setWorkingDir("/a/b/demo");
    EXPECT_STREQ(workingDir, "/a/b");
    setWorkingDir("/demo");
    EXPECT_STREQ(workingDir, ".");
    setWorkingDir("a//demo");
    EXPECT_STREQ(workingDir, "a/");
    setWorkingDir("");
    EXPECT_STREQ(workingDir, ".");
}

TEST(WorkingDir, LongDirectoriesFitWhole) {
    std::string dir = "/" + std::string(300, 'x') + "/" + std::string(300, 'y');
    setWorkingDir((dir + "/isoloop").c_str());
    EXPECT_EQ(std::string(workingDir), dir);
}

TEST(WorkingDir, TooLongDirectoryIsNotTruncated) {
    std::string dir = "/" + std::string(WORKING_DIR_SIZE + 10, 'z');
    setWorkingDir((dir + "/isoloop").c_str());
    EXPECT_STREQ(workingDir, ""); // unknown, rather than a wrong directory
    setWorkingDir("/a/demo");
    EXPECT_STREQ(workingDir, "/a");
}

TEST(WorkingDir, ExecutablePathIsTheRealFile) {
    std::string path = executablePath("whatever-name");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path[0], '/');
    EXPECT_EQ(access(path.c_str(), X_OK), 0);
    EXPECT_NE(path.find("app_tests"), std::string::npos);
}
