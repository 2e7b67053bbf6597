// SPDX-License-Identifier: MIT
#include "cli/LogCapture.h"

#include "base/Log.h"

namespace kestrix {

LogCapture::LogCapture() {
    Log::SetSink([this](std::string_view line) {
        std::lock_guard lock(m_mutex);
        m_lines.emplace_back(line);
    });
}

LogCapture::~LogCapture() { Log::SetSink({}); }

size_t LogCapture::Mark() const {
    std::lock_guard lock(m_mutex);
    return m_lines.size();
}

std::string LogCapture::LastLineSince(size_t mark) const {
    std::lock_guard lock(m_mutex);
    return m_lines.size() > mark ? m_lines.back() : std::string();
}

std::string LogCapture::LastLineSince(size_t mark, std::string_view prefix) const {
    std::lock_guard lock(m_mutex);
    for (size_t i = m_lines.size(); i > mark; --i) {
        if (m_lines[i - 1].starts_with(prefix)) return m_lines[i - 1];
    }
    return {};
}

}  // namespace kestrix
