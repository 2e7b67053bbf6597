// SPDX-License-Identifier: MIT
#include "support/ShellRun.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace kestrix::testing {

ShellRun RunShellCommand(const std::string& command) {
    ShellRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    size_t read = 0;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), read);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace kestrix::testing
