// SPDX-License-Identifier: MIT
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// Collects the log lines written while it is alive (it installs the process-wide log sink and
// removes it again), so a command whose file, store or network call returned a failure can
// tell the user the line that call logged. Whether something failed is never read from the
// log: device tasks return their own results with their reasons. The log file of --log keeps
// receiving every line as well.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Number of lines so far; pass it to the ...Since calls to look only at later lines.
    size_t Mark() const;
    // The last line after mark; empty when none came.
    std::string LastLineSince(size_t mark) const;
    // The last line after mark that starts with prefix; empty when none did.
    std::string LastLineSince(size_t mark, std::string_view prefix) const;

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

}  // namespace kestrix
