// Where the pack is looked for: the directory part of the invocation path.
#include "base/working_dir.h"

#include <gtest/gtest.h>
#include <string>

TEST(WorkingDir, DirectoryPartOfTheInvocationPath) {
    const std::string longDir = "/" + std::string(300, 'x') + "/" + std::string(300, 'y');
    const std::string tooLong = "/" + std::string(WORKING_DIR_SIZE + 10, 'z');
    // A directory too long to hold is unknown (""), rather than truncated.
    const std::string paths[] = {"demo",    "./demo", "/a/b/demo",          "/demo",
                                 "a//demo", "",       longDir + "/isoloop", tooLong + "/isoloop",
                                 "/a/demo"};
    const std::string dirs[] = {".", ".", "/a/b", ".", "a/", ".", longDir, "", "/a"};
    for (int k = 0; k < 9; k++) {
        setWorkingDir(paths[k].c_str());
        EXPECT_EQ(std::string(workingDir), dirs[k]) << k;
    }
}
