// SPDX-License-Identifier: MIT
#include "device/DiagnosticOptions.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "base/Log.h"
#include "device/HidTrace.h"

namespace kestrix {
namespace {

// The value of "--name FILE" or "--name=FILE" at argv[index]; advances index past a separate value.
bool MatchOption(std::string_view name, int argc, const char* const* argv, int& index,
                 std::string& value, bool& missing) {
    const std::string_view argument = argv[index];
    if (argument == name) {
        if (index + 1 >= argc) {
            missing = true;
            return true;
        }
        value = argv[++index];
        return true;
    }
    if (argument.size() > name.size() && argument.substr(0, name.size()) == name &&
        argument[name.size()] == '=') {
        value = std::string(argument.substr(name.size() + 1));
        missing = value.empty();
        return true;
    }
    return false;
}

}  // namespace

bool ApplyDiagnosticOptions(int argc, const char* const* argv) {
    bool ok = true;
    for (int index = 1; index < argc; ++index) {
        std::string value;
        bool missing = false;
        if (MatchOption("--log", argc, argv, index, value, missing)) {
            if (missing) {
                std::fprintf(stderr, "kestrix: --log needs a file name\n");
                ok = false;
            } else if (!Log::SetLogFile(value)) {
                ok = false;
            }
        } else if (MatchOption("--hid-trace", argc, argv, index, value, missing)) {
            if (missing) {
                std::fprintf(stderr, "kestrix: --hid-trace needs a file name\n");
                ok = false;
            } else if (!HidTrace::SetFile(value)) {
                std::fprintf(stderr, "kestrix: cannot open hid trace file %s\n", value.c_str());
                ok = false;
            }
        }
    }
    return ok;
}

}  // namespace kestrix
