// Whole packs: the layout's offsets, the writer and the tools' reader mirroring
// each other and read_bmp8, and anything that is not exactly one pack refused
// with the file named, leaving no output behind.
#include "pack_fixture.h"

#include "texture/pack_reader.h"
#include <sys/stat.h>

TEST(PackFile, WrittenPackHasTheLayoutAndReadsBackEverywhere) {
    const int offsets[12] = {0,      17408,  83968,   609280,  675840,  742400,
                             808960, 875520, 1007616, 1041408, 1050624, 1575936};
    for (int k = 0; k < 11; k++)
        EXPECT_EQ(kPackImages[k].offset + packImageBytes(kPackImages[k]), offsets[k + 1]) << k;
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures(), back;
    std::string error;
    ASSERT_TRUE(writePack(dir.file("julia.3ds"), pictures, &error)) << error;
    EXPECT_EQ(readFile(dir.file("julia.3ds")).size(), 1575936u);
    EXPECT_EQ(listDirectory(dir.path), std::vector<std::string>{"julia.3ds"});
    ASSERT_TRUE(readPackFile(dir.file("julia.3ds"), &back, &error)) << error;
    ASSERT_EQ(back.size(), 11u);
    std::strcpy(workingDir, dir.path.c_str());
    for (int k = 0; k < 11; k++) {
        EXPECT_EQ(0, std::memcmp(back[k].palette, pictures[k].palette, 1024)) << k;
        EXPECT_EQ(back[k].index, pictures[k].index) << k;
        const PackImage& im = kPackImages[k];
        std::vector<unsigned int> dest((size_t)im.width * im.height);
        read_bmp8("julia.3ds", dest.data(), offsets[k], im.width, im.height);
        EXPECT_EQ(dest.front(), expandedPixel(pictures[k], 0)) << k;
        EXPECT_EQ(dest.back(), expandedPixel(pictures[k], dest.size() - 1)) << k;
    }
}

TEST(PackFile, AnythingButOneWholePackIsRefusedNamingTheFile) {
    TempDir dir;
    std::string bytes = packBytes(patternPictures()) + '\0';
    std::vector<PackPicture> out;
    std::string error, path = dir.file("bad.3ds");
    for (size_t length : {(size_t)0, (size_t)PACK_SIZE - 1, (size_t)PACK_SIZE + 1}) {
        ASSERT_TRUE(writeWhole(path, bytes.substr(0, length)));
        EXPECT_FALSE(readPackFile(path, &out, &error)) << length;
        EXPECT_NE(error.find(path + ": " + std::to_string(length) + " bytes"), std::string::npos)
            << error;
        EXPECT_TRUE(out.empty());
    }
    EXPECT_FALSE(readPackFile(dir.file("none.3ds"), &out, &error));
    EXPECT_NE(error.find(dir.file("none.3ds")), std::string::npos) << error;
    EXPECT_FALSE(readPackFile(dir.path, &out, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST(PackWriter, BadPicturesOrAFailedWriteLeaveNoOutput) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    std::string error, old = packBytes(pictures);
    std::vector<PackPicture> ten(pictures.begin(), pictures.begin() + 10);
    EXPECT_FALSE(writePack(dir.file("p.3ds"), ten, &error));
    pictures[7].index.pop_back();
    EXPECT_FALSE(writePack(dir.file("p.3ds"), pictures, &error));
    EXPECT_NE(error.find("picture 7 must be 512x256"), std::string::npos) << error;
    EXPECT_TRUE(listDirectory(dir.path).empty());
    // Renaming onto a directory fails after the temporary is complete.
    ASSERT_TRUE(writeWhole(dir.file("p.3ds"), old));
    ASSERT_EQ(mkdir(dir.file("sub").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(dir.file("sub/p.3ds").c_str(), 0700), 0);
    EXPECT_FALSE(writePack(dir.file("sub/p.3ds"), patternPictures(), &error));
    EXPECT_EQ(listDirectory(dir.file("sub")), std::vector<std::string>{"p.3ds"});
    EXPECT_FALSE(writePack(dir.file("missing/p.3ds"), patternPictures(), &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("p.3ds")), old);
}
