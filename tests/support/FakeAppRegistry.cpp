// SPDX-License-Identifier: MIT
#include "support/FakeAppRegistry.h"

#include "base/Text.h"

namespace kestrix {

FakeAppRegistry::FakeAppRegistry(bool keyExists) : m_keyExists(keyExists) {}

int FakeAppRegistry::ReadAppRegistryInt(const std::string& valueName) {
    std::lock_guard guard(m_mutex);
    if (!m_keyExists) {
        m_keyExists = true;
        return 0;
    }
    const auto found = m_values.find(valueName);
    return found == m_values.end() ? 0
                                   : ParseDecimal(std::string_view(found->second).substr(0, 255));
}

bool FakeAppRegistry::WriteAppRegistryString(const std::string& valueName,
                                             const std::string& text) {
    std::lock_guard guard(m_mutex);
    if (!m_keyExists) return false;
    m_values[valueName] = text;
    return true;
}

bool FakeAppRegistry::KeyExists() const {
    std::lock_guard guard(m_mutex);
    return m_keyExists;
}

std::optional<std::string> FakeAppRegistry::Value(const std::string& valueName) const {
    std::lock_guard guard(m_mutex);
    const auto found = m_values.find(valueName);
    if (found == m_values.end()) return std::nullopt;
    return found->second;
}

void FakeAppRegistry::SetValue(const std::string& valueName, const std::string& text) {
    std::lock_guard guard(m_mutex);
    m_keyExists = true;
    m_values[valueName] = text;
}

void FakeAppRegistry::RemoveKey() {
    std::lock_guard guard(m_mutex);
    m_keyExists = false;
    m_values.clear();
}

}  // namespace kestrix
