// SPDX-License-Identifier: MIT
#include "device/HidTrace.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "base/Log.h"
#include "base/UniqueFile.h"

namespace kestrix {
namespace {

struct TraceState {
    std::mutex mutex;
    UniqueFile file;
    std::function<void(std::string_view)> sink;
    std::atomic<bool> enabled{false};
};

TraceState& State() {
    static TraceState state;
    return state;
}

void UpdateEnabled(TraceState& state) {
    state.enabled = state.file.Valid() || static_cast<bool>(state.sink);
}

}  // namespace

bool HidTrace::SetFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        LogLine("hid trace: cannot open %s for writing", path.c_str());
        return false;
    }
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    state.file.Reset(file);
    UpdateEnabled(state);
    return true;
}

void HidTrace::CloseFile() {
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    state.file.Reset();
    UpdateEnabled(state);
}

void HidTrace::SetSink(std::function<void(std::string_view)> sink) {
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    state.sink = std::move(sink);
    UpdateEnabled(state);
}

bool HidTrace::Enabled() { return State().enabled; }

std::string HidTrace::FormatLine(char direction, const std::string& path, const uint8_t* data,
                                 size_t length) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(path.size() + 3 + length * 3);
    line += direction;
    line += ' ';
    line += path;
    for (size_t i = 0; i < length; ++i) {
        line += ' ';
        line += kHex[data[i] >> 4];
        line += kHex[data[i] & 0x0F];
    }
    return line;
}

void HidTrace::Record(char direction, const std::string& path, const uint8_t* data, size_t length) {
    TraceState& state = State();
    if (!state.enabled) {
        return;
    }
    const std::string line = FormatLine(direction, path, data, length);
    std::lock_guard lock(state.mutex);
    if (state.file.Valid()) {
        std::fprintf(state.file.Get(), "%s\n", line.c_str());
        std::fflush(state.file.Get());
    }
    if (state.sink) {
        state.sink(line);
    }
}

}  // namespace kestrix
