// SPDX-License-Identifier: MIT
// Entry of the emulated-hardware tests: re-executes under umockdev's preload library, and as
// root gives up root first, so that node permissions apply as they do for a desktop user.

#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "testbed/HidTestbed.h"

namespace {

constexpr uid_t kNobody = 65534;

void DropRoot() {
    if (geteuid() != 0) return;
    if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
        setresuid(kNobody, kNobody, kNobody) != 0) {
        std::perror("dropping root for the emulated tests");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!kestrix::testing::RunUnderUmockdev(argc, argv)) return 1;
    DropRoot();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
