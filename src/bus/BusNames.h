// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix::bus {

// The well-known name the running window program owns on the session bus.
inline constexpr const char* kBusName = "org.kestrix.Kestrix1";
// The manager object: the attached mice, kestrixctl's forwarded commands.
inline constexpr const char* kManagerPath = "/org/kestrix/Kestrix1";
inline constexpr const char* kManagerInterface = "org.kestrix.Kestrix1.Manager";
// One object per attached model: kMousePrefix + "/" + model number.
inline constexpr const char* kMousePrefix = "/org/kestrix/Kestrix1/mouse";
inline constexpr const char* kMouseInterface = "org.kestrix.Kestrix1.Mouse";
// Errors of the mouse methods, after kestrixctl's exit codes 1, 2 and 3.
inline constexpr const char* kErrorFailed = "org.kestrix.Kestrix1.Error.Failed";
inline constexpr const char* kErrorBadValue = "org.kestrix.Kestrix1.Error.BadValue";
inline constexpr const char* kErrorNotServed = "org.kestrix.Kestrix1.Error.NotServed";

}  // namespace kestrix::bus
