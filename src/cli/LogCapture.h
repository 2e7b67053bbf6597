#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// Collects the device log lines written while it is alive (it installs the process-wide log
// sink and removes it again), so a command can tell the user why the mouse failed. The log
// file of --log keeps receiving every line as well.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Number of lines so far; pass it to FailureSince to look only at later lines.
    size_t Mark() const;
    // The first line after mark that reports a failed exchange, write or store operation;
    // empty when there is none.
    std::string FailureSince(size_t mark) const;
    // The last line after mark; empty when none came.
    std::string LastLineSince(size_t mark) const;
    // Every line collected.
    std::vector<std::string> Lines() const;

    // True when a log line reports a failure (pure; the patterns of the device layer's lines).
    static bool IsFailureLine(std::string_view line);

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

}  // namespace kestrix
