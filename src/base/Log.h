// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestrix {

// Process-wide diagnostic log of the device layer and the services below the window.
// Every line goes, with a time stamp, to the file chosen with SetLogFile (--log FILE) and
// to the sink a test installed; with neither, lines are dropped. Thread-safe.
class Log {
  public:
    // Opens (appends to) path as the log file; false and stderr note when it cannot be opened.
    static bool SetLogFile(const std::string& path);
    // Receives every line without its time stamp; an empty function removes the sink.
    static void SetSink(std::function<void(std::string_view)> sink);
    // Writes one line; the text carries no line end.
    static void Write(std::string_view line);
};

// printf-style shorthand for Log::Write, for the device layer's fixed log formats.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kestrix
