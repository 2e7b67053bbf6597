// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>

namespace kestrix {

// Profile number: the row id of t_profile_data, carried by every per-profile row.
using ProfileId = int;

// One row of t_profile_data (columns profile, name, status, app, type).
struct ProfileRow {
    ProfileId profile = 0;
    std::string name;  // UTF-8
    int status = 0;    // 1 for the active profile
    std::string app;   // written empty, read by nobody
    int type = 0;      // written 0, read by nobody
};

// One button assignment of t_key_macro_data, fields in table column order.
struct KeyAssignmentRow {
    int keyId = 0;
    ProfileId profile = 0;
    int fnLayer = 0;  // always 0
    int keyCode = 0;  // button number on the mouse
    int layoutValue = 0;
    std::string layoutDesc;
    int macroType = 0;   // kind of assignment; 4 = macro of t_macro_data
    int macroValue = 0;  // for a macro assignment the macro_id
    int macroValue2 = 0;
    int macroValue3 = 0;
    std::string macroDesc;  // text shown for the assignment
};

// One macro of the library (t_macro_data), fields in table column order.
struct MacroRow {
    int macroId = 0;
    std::string name;
    int playType = 0;
    int playTimes = 0;
    int delayType = 0;
    int delayTime = 0;
};

// One macro event (t_macrorecord). Table column order is record_id, macro_id, type,
// record_index, desc, value, delay_time.
struct MacroRecordRow {
    int recordId = 0;
    int macroId = 0;
    int type = 0;
    int recordIndex = 0;
    std::string desc;
    int value = 0;
    int delayTime = 0;  // the event's entry stamp, not a delay
};

// One lighting effect row of a profile (t_light_data), fields in table column order.
struct LightRow {
    int lightId = 0;
    ProfileId profile = 0;
    std::string name;  // fixed internal effect name
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    int colorful = 0;
    int colorIndex = 0;
    std::array<int, 7> colorValues{};  // color_value1 .. color_value7
    int configFunc = 0;
    int reserved = 0;  // language text number of the effect's display name
    int status = 0;    // 1 for the active effect
};

}  // namespace kestrix
