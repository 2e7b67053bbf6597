// SPDX-License-Identifier: MIT
#include "device/DiagnosticOptions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/Log.h"
#include "device/HidTrace.h"
#include "device/HidapiBackend.h"

namespace kestrix {
namespace {

TEST(DiagnosticOptions, LogAndTraceFiles) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("kestrix-diag-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string trace = (folder / "trace.txt").string();
    const std::string log = (folder / "log.txt").string();
    const std::string logOption = "--log=" + log;
    const char* argv[] = {"kestrix", "--hid-trace", trace.c_str(), logOption.c_str(), "-hide"};
    ASSERT_TRUE(ApplyDiagnosticOptions(5, argv));
    const uint8_t bytes[] = {0x00, 0x10};
    HidTrace::Record('W', "sim/x/if2", bytes, 2);
    LogLine("EnumerateDevice!");
    HidTrace::CloseFile();
    std::string line;
    std::ifstream traceFile(trace);
    ASSERT_TRUE(std::getline(traceFile, line));
    EXPECT_EQ(line, "W sim/x/if2 00 10");
    std::ifstream logFile(log);
    ASSERT_TRUE(std::getline(logFile, line));
    EXPECT_NE(line.find(" EnumerateDevice!"), std::string::npos);  // after a time stamp

    const char* missing[] = {"kestrix", "--hid-trace"};
    EXPECT_FALSE(ApplyDiagnosticOptions(2, missing));
    const std::string bad = "--hid-trace=" + (folder / "no" / "such" / "dir").string();
    const char* unwritable[] = {"kestrix", bad.c_str()};
    EXPECT_FALSE(ApplyDiagnosticOptions(2, unwritable));
    std::filesystem::remove_all(folder);
}

TEST(HidapiBackend, MissingNodesAreReportedNotFatal) {
    HidapiBackend backend;
    std::vector<uint8_t> descriptor;
    EXPECT_FALSE(HidapiBackend::ReadReportDescriptor("/dev/hidraw-kestrix-none", descriptor));
    uint16_t page = 0;
    uint16_t usage = 0;
    EXPECT_FALSE(backend.ReadTopCollection("/dev/hidraw-kestrix-none", page, usage));
    EXPECT_EQ(backend.Open("/dev/hidraw-kestrix-none"), nullptr);  // before Init: nothing opens
    if (backend.Init()) {
        EXPECT_EQ(backend.Open("/dev/hidraw-kestrix-none"), nullptr);
        for (const HidDeviceInfo& info : backend.Enumerate()) {
            EXPECT_FALSE(info.path.empty());
        }
    }
}

}  // namespace
}  // namespace kestrix
