// SPDX-License-Identifier: MIT
#include "support/FakeAutostart.h"

namespace kestrix {

FakeAutostart::FakeAutostart(bool enabled) : m_enabled(enabled) {}

bool FakeAutostart::IsEnabled() const { return m_enabled; }

bool FakeAutostart::Enable() {
    if (m_failing) return false;
    m_enabled = true;
    return true;
}

bool FakeAutostart::Disable() {
    if (m_failing) return false;
    m_enabled = false;
    return true;
}

void FakeAutostart::SetFailing(bool failing) { m_failing = failing; }

}  // namespace kestrix
