// SPDX-License-Identifier: MIT
#include "base/UniqueFd.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "base/UniqueFile.h"

namespace kestrix {
namespace {

bool IsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

// Ownership moves exactly once: the moved-from owner closes nothing, the replaced one is closed.
TEST(UniqueFd, ClosesExactlyOnceAcrossMovesAndResets) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const int readEnd = pipeEnds[0];
    const int writeEnd = pipeEnds[1];
    {
        UniqueFd first(readEnd);
        UniqueFd second(writeEnd);
        UniqueFd moved(std::move(first));
        EXPECT_FALSE(first.Valid());
        EXPECT_EQ(moved.Get(), readEnd);
        moved = std::move(second);  // the read end is closed here
        EXPECT_FALSE(IsOpen(readEnd));
        EXPECT_TRUE(IsOpen(writeEnd));
        EXPECT_TRUE(moved.Close());
        EXPECT_FALSE(moved.Valid());
        EXPECT_TRUE(moved.Close());  // closing "none" succeeds
    }
    EXPECT_FALSE(IsOpen(writeEnd));
    UniqueFd none;
    EXPECT_FALSE(none.WriteAll("x", 1));
}

TEST(UniqueFile, OpenFailureIsEmptyAndCloseReportsSuccess) {
    UniqueFile missing = UniqueFile::Open("/nonexistent-folder/file", "rb");
    EXPECT_FALSE(missing.Valid());
    EXPECT_TRUE(missing.Close());
    UniqueFile file(std::tmpfile());
    ASSERT_TRUE(file.Valid());
    UniqueFile other(std::move(file));
    EXPECT_FALSE(file.Valid());
    EXPECT_GE(std::fputs("data", other.Get()), 0);
    EXPECT_TRUE(other.Close());
}

}  // namespace
}  // namespace kestrix
