// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: control classes by name.

#include <memory>
#include <string>
#include <vector>

namespace DUI {

class MControl;

// A new, not yet attached control of the named class; nullptr for an unknown name.
std::unique_ptr<MControl> MakeControl(const std::string& className);
// Every class name MakeControl knows, in the toolkit's documented order.
const std::vector<std::string>& ControlClassNames();

}  // namespace DUI
