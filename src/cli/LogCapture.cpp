#include "cli/LogCapture.h"

#include <array>

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

std::string LogCapture::FailureSince(size_t mark) const {
    std::lock_guard lock(m_mutex);
    for (size_t i = mark; i < m_lines.size(); ++i) {
        if (IsFailureLine(m_lines[i])) return m_lines[i];
    }
    return {};
}

std::string LogCapture::LastLineSince(size_t mark) const {
    std::lock_guard lock(m_mutex);
    return m_lines.size() > mark ? m_lines.back() : std::string();
}

std::vector<std::string> LogCapture::Lines() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
}

bool LogCapture::IsFailureLine(std::string_view line) {
    // The device layer reports every failed exchange with one of these phrases; the mouse's
    // ordinary traffic ("EnumerateDevice!", "mouse notify data: ...") never contains them.
    static constexpr std::array<std::string_view, 6> kPhrases{
        "failed", "no answer", "not connected", "no command interface", "not opened", "could not be opened"};
    for (std::string_view phrase : kPhrases) {
        if (line.find(phrase) != std::string_view::npos) return true;
    }
    return false;
}

}  // namespace kestrix
