// Whole packs: the writer and the tools' reader mirror each other, and
// anything that is not exactly one pack is refused with the file named,
// leaving no output behind.
#include "golden.h"
#include "pack_fixture.h"

#include "texture/pack_file.h"
#include "texture/pack_reader.h"
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::vector<std::string> listDir(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

void writeRaw(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

} // namespace

TEST(PackFile, WriteThenReadGivesThePicturesBack) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    std::string error;
    ASSERT_TRUE(writePack(dir.file("p.3ds"), pictures, &error)) << error;
    struct stat st;
    ASSERT_EQ(stat(dir.file("p.3ds").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, PACK_SIZE);
    EXPECT_EQ(listDir(dir.path), std::vector<std::string>{"p.3ds"});

    std::vector<PackPicture> back;
    ASSERT_TRUE(readPackFile(dir.file("p.3ds"), &back, &error)) << error;
    ASSERT_EQ(back.size(), 11u);
    for (int k = 0; k < 11; k++) {
        EXPECT_EQ(0, std::memcmp(back[k].palette, pictures[k].palette, 1024)) << k;
        EXPECT_EQ(back[k].index, pictures[k].index) << k;
    }
}

TEST(PackFile, WrittenPackReadsBackThroughReadBmp8AtEveryOffset) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    std::string error;
    ASSERT_TRUE(writePack(dir.file("julia.3ds"), pictures, &error)) << error;
    std::strcpy(workingDir, dir.path.c_str());
    for (int k = 0; k < 11; k++) {
        const PackImage& im = kPackImages[k];
        std::vector<unsigned int> dest((size_t)im.width * im.height);
        read_bmp8("julia.3ds", dest.data(), im.offset, im.width, im.height);
        EXPECT_EQ(dest.front(), expandedPixel(pictures[k], 0)) << k;
        EXPECT_EQ(dest.back(), expandedPixel(pictures[k], dest.size() - 1)) << k;
    }
}

TEST(PackFile, WrongLengthsAreRefusedNamingTheFile) {
    TempDir dir;
    std::string bytes = packBytes(patternPictures());
    for (size_t length : {(size_t)0, (size_t)PACK_SIZE - 1, (size_t)PACK_SIZE + 1}) {
        std::string path = dir.file("bad.3ds");
        std::string body = bytes.substr(0, std::min(length, bytes.size()));
        body.resize(length, '\0');
        writeRaw(path, body);
        std::vector<PackPicture> out;
        std::string error;
        EXPECT_FALSE(readPackFile(path, &out, &error)) << length;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find(std::to_string(length) + " bytes"), std::string::npos) << error;
        EXPECT_TRUE(out.empty());
    }
}

TEST(PackFile, MissingFileAndDirectoryAreRefused) {
    TempDir dir;
    std::vector<PackPicture> out;
    std::string error;
    EXPECT_FALSE(readPackFile(dir.file("none.3ds"), &out, &error));
    EXPECT_NE(error.find(dir.file("none.3ds")), std::string::npos);
    EXPECT_FALSE(readPackFile(dir.path, &out, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST(PackWriter, WrongPictureCountOrSizeWritesNothing) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    std::string error;
    std::vector<PackPicture> ten(pictures.begin(), pictures.begin() + 10);
    EXPECT_FALSE(writePack(dir.file("p.3ds"), ten, &error));
    pictures[7].index.pop_back();
    EXPECT_FALSE(writePack(dir.file("p.3ds"), pictures, &error));
    EXPECT_NE(error.find("picture 7 must be 512x256"), std::string::npos) << error;
    EXPECT_TRUE(listDir(dir.path).empty());
}

TEST(PackWriter, FailedWriteKeepsTheOldPackAndLeavesNoTemporary) {
    TempDir dir;
    std::string old = packBytes(patternPictures());
    writeRaw(dir.file("p.3ds"), old);
    std::string error;
    // Renaming onto a directory fails after the temporary is complete.
    ASSERT_EQ(mkdir(dir.file("sub").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(dir.file("sub/p.3ds").c_str(), 0700), 0);
    EXPECT_FALSE(writePack(dir.file("sub/p.3ds"), patternPictures(), &error));
    EXPECT_EQ(listDir(dir.file("sub")), std::vector<std::string>{"p.3ds"});
    EXPECT_FALSE(writePack(dir.file("missing/p.3ds"), patternPictures(), &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("p.3ds")), old);
}
