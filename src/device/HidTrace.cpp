// SPDX-License-Identifier: MIT
#include "device/HidTrace.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>

#include "base/Log.h"

namespace kestrix {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct TraceState {
    std::mutex mutex;
    std::unique_ptr<std::FILE, FileCloser> file;
    std::function<void(std::string_view)> sink;
    std::atomic<bool> enabled{false};
};

TraceState& State() {
    static TraceState state;
    return state;
}

void UpdateEnabled(TraceState& state) {
    state.enabled = state.file != nullptr || static_cast<bool>(state.sink);
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
    state.file.reset(file);
    UpdateEnabled(state);
    return true;
}

void HidTrace::CloseFile() {
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    state.file.reset();
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
    if (state.file) {
        std::fprintf(state.file.get(), "%s\n", line.c_str());
        std::fflush(state.file.get());
    }
    if (state.sink) {
        state.sink(line);
    }
}

}  // namespace kestrix
