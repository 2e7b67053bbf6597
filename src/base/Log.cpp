// SPDX-License-Identifier: MIT
#include "base/Log.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "base/UniqueFile.h"

namespace kestrix {
namespace {

struct LogState {
    std::mutex mutex;
    UniqueFile file;
    std::function<void(std::string_view)> sink;
};

LogState& State() {
    static LogState state;
    return state;
}

std::string TimeStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + length, sizeof text - length, ".%03d", static_cast<int>(millis));
    return text;
}

}  // namespace

bool Log::SetLogFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (file == nullptr) {
        std::fprintf(stderr, "kestrix: cannot open log file %s\n", path.c_str());
        return false;
    }
    std::lock_guard lock(State().mutex);
    State().file.Reset(file);
    return true;
}

void Log::SetSink(std::function<void(std::string_view)> sink) {
    std::lock_guard lock(State().mutex);
    State().sink = std::move(sink);
}

void Log::Write(std::string_view line) {
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.file.Valid()) {
        const std::string stamp = TimeStamp();
        std::fprintf(state.file.Get(), "%s %.*s\n", stamp.c_str(), static_cast<int>(line.size()),
                     line.data());
        std::fflush(state.file.Get());
    }
    if (state.sink) {
        state.sink(line);
    }
}

void LogLine(const char* format, ...) {
    char buffer[2048];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0) {
        return;
    }
    Log::Write(
        std::string_view(buffer, std::min<size_t>(static_cast<size_t>(length), sizeof buffer - 1)));
}

}  // namespace kestrix
