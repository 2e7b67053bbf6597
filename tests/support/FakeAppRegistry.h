// SPDX-License-Identifier: MIT
#pragma once

#include "platform/AppRegistry.h"

#include <map>
#include <mutex>
#include <optional>

namespace kestrix {

// The program key in memory, with the same rules as the real one: reading creates the key,
// writing never does. Safe to use from several threads.
class FakeAppRegistry final : public AppRegistry {
  public:
    // keyExists: whether the key is there before the first read.
    explicit FakeAppRegistry(bool keyExists = true);

    int ReadAppRegistryInt(const std::string& valueName) override;
    bool WriteAppRegistryString(const std::string& valueName, const std::string& text) override;

    // Whether the key exists now.
    bool KeyExists() const;
    // A value's stored text, or nothing when it was never written.
    std::optional<std::string> Value(const std::string& valueName) const;
    // Test setup: creates the key if needed and sets the value.
    void SetValue(const std::string& valueName, const std::string& text);
    // Test setup: removes the key and every value.
    void RemoveKey();

  private:
    mutable std::mutex m_mutex;
    bool m_keyExists;
    std::map<std::string, std::string> m_values;
};

}  // namespace kestrix
