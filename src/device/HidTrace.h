// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrix {

// Process-wide record of HID traffic (--hid-trace FILE): one line per write ("W") and per
// read that returned data ("R"): the letter, the device path, then the bytes as upper-case
// two-digit hex separated by single spaces, exactly as handed to or returned by the back end.
class HidTrace {
  public:
    // Opens (truncates) path as the trace file; false with a log line when it cannot be opened.
    static bool SetFile(const std::string& path);
    // Stops writing to the trace file.
    static void CloseFile();
    // Receives every trace line (without line end); an empty function removes the sink.
    static void SetSink(std::function<void(std::string_view)> sink);
    // True when a file or a sink is set, so callers may skip formatting.
    static bool Enabled();
    // Records one transfer; direction is 'W' or 'R'.
    static void Record(char direction, const std::string& path, const uint8_t* data, size_t length);
    // The trace line for one transfer, without line end.
    static std::string FormatLine(char direction, const std::string& path, const uint8_t* data,
                                  size_t length);
};

}  // namespace kestrix
