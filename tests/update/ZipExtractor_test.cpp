// SPDX-License-Identifier: MIT
#include "update/ZipExtractor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "update/UpdateTestSupport.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;
using testing::BuildZip;
using testing::ReadFile;
using testing::TempDir;
using testing::ZipEntry;

// Every path below root, relative to it, sorted.
std::vector<std::string> Tree(const std::string& root) {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        paths.push_back(fs::relative(entry.path(), root).string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class ZipExtractorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(target);
        fs::create_directories(outside);
    }
    TempDir scratch;
    std::string target = scratch.Path() + "temp/";
    std::string outside = scratch.Path() + "outside/";
    std::string zip = scratch.Path() + "package.zip";
};

TEST_F(ZipExtractorTest, ExtractsFilesAndFolders) {
    ASSERT_TRUE(BuildZip(zip, {{"Mouse-Setup-1.0.4.AppImage", "#!/bin/sh\n"},
                               {"docs/", "", 040755},
                               {"docs/read me.txt", std::string(100000, 'r')},
                               {"./a//b/c.bin", "abc"}}));
    const ZipExtractResult result = ZipExtractor().Extract(zip, target);
    EXPECT_TRUE(result.opened);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.filesWritten, 3u);
    EXPECT_EQ(ReadFile(target + "Mouse-Setup-1.0.4.AppImage"), "#!/bin/sh\n");
    EXPECT_EQ(ReadFile(target + "docs/read me.txt"), std::string(100000, 'r'));
    EXPECT_EQ(ReadFile(target + "a/b/c.bin"), "abc");
}

TEST_F(ZipExtractorTest, RefusesEntriesThatWouldLeaveTheFolder) {
    const std::string absolute = outside + "absolute.txt";
    ASSERT_TRUE(BuildZip(zip, {{"../outside/up.txt", "x"},
                               {absolute, "x"},
                               {"docs/../../outside/deep.txt", "x"},
                               {"..\\outside\\win.txt", "x"},
                               {"link", outside, 0120777},
                               {"fifo", "", 010644},
                               {"..", "x"},
                               {"kept.txt", "kept"}}));
    const ZipExtractResult result = ZipExtractor().Extract(zip, target);
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.refused, 7u);
    EXPECT_EQ(result.filesWritten, 1u);
    EXPECT_EQ(Tree(target), std::vector<std::string>{"kept.txt"});
    EXPECT_TRUE(Tree(outside).empty());
    EXPECT_EQ(Tree(scratch.Path()),
              (std::vector<std::string>{"outside", "package.zip", "temp", "temp/kept.txt"}));
}

TEST_F(ZipExtractorTest, DoesNotFollowLinksAlreadyInTheFolder) {
    fs::create_directory_symlink(outside, target + "docs");
    fs::create_symlink(outside + "victim.txt", target + "victim.txt");
    testing::WriteFile(outside + "victim.txt", "untouched");
    ASSERT_TRUE(BuildZip(zip, {{"docs/escape.txt", "x"}, {"victim.txt", "replaced"}}));
    const ZipExtractResult result = ZipExtractor().Extract(zip, target);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.failed, 1u);  // docs/ is a link: not entered
    EXPECT_EQ(Tree(outside), std::vector<std::string>{"victim.txt"});
    EXPECT_EQ(ReadFile(outside + "victim.txt"), "untouched");
    // The link at victim.txt was replaced by a plain file.
    EXPECT_FALSE(fs::is_symlink(target + "victim.txt"));
    EXPECT_EQ(ReadFile(target + "victim.txt"), "replaced");
}

TEST_F(ZipExtractorTest, StopsAtTheByteAndEntryLimits) {
    ASSERT_TRUE(BuildZip(zip, {{"one.bin", std::string(600, '1')},
                               {"two.bin", std::string(600, '2')},
                               {"three.bin", std::string(10, '3')}}));
    ZipLimits bytes;
    bytes.maxTotalBytes = 1000;
    ZipExtractResult result = ZipExtractor(bytes).Extract(zip, target);
    EXPECT_TRUE(result.limitReached);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(Tree(target), std::vector<std::string>{"one.bin"});  // the cut file is gone

    fs::remove_all(target);
    fs::create_directories(target);
    ZipLimits entries;
    entries.maxEntries = 2;
    result = ZipExtractor(entries).Extract(zip, target);
    EXPECT_TRUE(result.limitReached);
    EXPECT_EQ(Tree(target), (std::vector<std::string>{"one.bin", "two.bin"}));
}

TEST_F(ZipExtractorTest, ReportsAnArchiveThatCannotBeOpened) {
    testing::WriteFile(zip, "<html>not a zip</html>");
    EXPECT_FALSE(ZipExtractor().Extract(zip, target).opened);
    EXPECT_FALSE(ZipExtractor().Extract(scratch.Path() + "missing.zip", target).opened);
}

TEST(ZipEntryName, SplitsSafeNamesOnly) {
    struct Case {
        const char* name;
        bool safe;
        std::vector<std::string> parts;
    };
    const std::vector<Case> cases = {
        {"a.bin", true, {"a.bin"}},
        {"dir/sub/a.bin", true, {"dir", "sub", "a.bin"}},
        {"./dir//a.bin", true, {"dir", "a.bin"}},
        {"dir/", true, {"dir"}},
        {"a..b/c..", true, {"a..b", "c.."}},
        {"", false, {}},
        {"/etc/passwd", false, {}},
        {"../a", false, {}},
        {"dir/../../a", false, {}},
        {"dir/..", false, {}},
        {"dir\\a", false, {}},
        {"a\nb", false, {}},
        {"./", false, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> parts;
        EXPECT_EQ(ZipExtractor::SplitEntryName(c.name, parts), c.safe) << c.name;
        if (c.safe) {
            EXPECT_EQ(parts, c.parts) << c.name;
        }
    }
}

}  // namespace
}  // namespace kestrix
