// SPDX-License-Identifier: MIT
#include <algorithm>
#include <vector>

#include "base/Text.h"
#include "cli/CliCommands.h"
#include "cli/SettingRules.h"
#include "device/DeviceTask.h"
#include "platform/LanguageTexts.h"

namespace kestrix {
namespace {

constexpr DeviceTask kLightingTask = DeviceTask::WriteLighting;
constexpr int kMaxLevel = 4;
constexpr int kColourSlots = 7;
// Controls an effect shows, by its config_func bits.
constexpr int kShowsBrightness = 0x001;
constexpr int kShowsSpeed = 0x002;
constexpr int kShowsColourPicker = 0x010;
constexpr int kShowsColourSlots = 0x800;

// A parsed "brightness|speed|color1..color7 VALUE".
struct LightField {
    enum class Kind { Brightness, Speed, Colour } kind = Kind::Brightness;
    int slot = 0;  // colour slot 1..7
    int value = 0;
};

CommandStatus ParseField(const std::string& name, const std::string& text, LightField& field) {
    if (name == "brightness" || name == "speed") {
        field.kind = name == "brightness" ? LightField::Kind::Brightness : LightField::Kind::Speed;
        if (!ParseInteger(text, field.value) || field.value < 0 || field.value > kMaxLevel) {
            return CommandStatus::BadValue(name + " must be within 0..4");
        }
        return CommandStatus::Success();
    }
    if (name.size() == 6 && name.rfind("color", 0) == 0 && name[5] >= '1' &&
        name[5] < '1' + kColourSlots) {
        field.kind = LightField::Kind::Colour;
        field.slot = name[5] - '0';
        if (!ParseColourValue(text, field.value)) {
            return CommandStatus::BadValue(
                name + " must be a colour within 0..0xFFFFFF (red in the low byte) or #RRGGBB");
        }
        return CommandStatus::Success();
    }
    return CommandStatus::BadValue("unknown lighting setting \"" + name +
                                   "\"; settings: brightness, speed, color1..color7");
}

CommandStatus NeedLighting(const CliSession& session) {
    if (session.Definition().lightingPage) return CommandStatus::Success();
    return CommandStatus::BadValue(session.Model()->name + " has no lighting settings");
}

CommandStatus FindEffect(CliSession& session, const std::string& text, LightRow& row) {
    std::vector<LightRow> rows;
    session.Store().ListLightRows(session.Profile(), rows);
    std::string modes;
    int mode = 0;
    const bool parsed = ParseInteger(text, mode);
    for (const LightRow& candidate : rows) {
        modes += Format("%s%d (%s)", modes.empty() ? "" : ", ", candidate.mode,
                        GetLanText(candidate.reserved).c_str());
        if (parsed && candidate.mode == mode) row = candidate;
    }
    if (parsed && row.mode == mode && row.profile == session.Profile())
        return CommandStatus::Success();
    return CommandStatus::BadValue("no lighting effect \"" + text + "\"; effects: " + modes);
}

// The field must be one the lighting page shows for this effect.
CommandStatus CheckShown(const LightRow& row, const LightField& field, const std::string& name) {
    int needed = 0;
    switch (field.kind) {
        case LightField::Kind::Brightness:
            needed = kShowsBrightness;
            break;
        case LightField::Kind::Speed:
            needed = kShowsSpeed;
            break;
        case LightField::Kind::Colour:
            needed = field.slot == 1 ? kShowsColourPicker | kShowsColourSlots : kShowsColourSlots;
    }
    if ((row.configFunc & needed) != 0) return CommandStatus::Success();
    return CommandStatus::BadValue(Format("effect %d (%s) has no %s setting", row.mode,
                                          GetLanText(row.reserved).c_str(), name.c_str()));
}

CliDocument EffectDocument(const LightRow& row, int active) {
    CliDocument colours = CliDocument::array();
    // "#RRGGBB", the form "set" accepts besides the stored integer (red in the low byte).
    for (int colour : row.colorValues) {
        colours.push_back(
            Format("#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    }
    CliDocument effect;
    effect["mode"] = row.mode;
    effect["name"] = GetLanText(row.reserved);
    effect["active"] = row.mode == active;
    effect["brightness"] = row.brightness;
    effect["speed"] = row.speed;
    effect["colors"] = colours;
    effect["config_func"] = row.configFunc;
    return effect;
}

CommandStatus Activate(CliSession& session, int mode) {
    if (!session.Store().SetActiveLightMode(session.Profile(), mode)) {
        return CommandStatus::Failure(Format("making effect %d active failed", mode));
    }
    return session.RunTask(kLightingTask);
}

}  // namespace

CommandStatus LightListCommand(CommandContext& context) {
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Store);
    if (!status.Ok()) return status;
    status = NeedLighting(session);
    if (!status.Ok()) return status;
    std::vector<LightRow> rows;
    session.Store().ListLightRows(session.Profile(), rows);
    // The active effect is the row marked so; with none marked, no effect is active (the
    // store's active-mode read gives 0 then, which is an effect of its own).
    const auto marked =
        std::find_if(rows.begin(), rows.end(), [](const LightRow& row) { return row.status == 1; });
    const int active = marked != rows.end() ? marked->mode : -1;
    CliDocument list = CliDocument::array();
    for (const LightRow& row : rows) list.push_back(EffectDocument(row, active));
    CliDocument document;
    document["profile"] = ProfileDocument(session);
    document["active"] = marked != rows.end() ? CliDocument(active) : CliDocument("none");
    document["effects"] = list;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus LightUseCommand(CommandContext& context, const std::string& mode) {
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    status = NeedLighting(session);
    if (!status.Ok()) return status;
    LightRow row;
    status = FindEffect(session, mode, row);
    if (!status.Ok()) return status;
    status = Activate(session, row.mode);
    if (!status.Ok()) return status;
    CliDocument document;
    document["effect"] = EffectDocument(row, row.mode);
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus LightSetCommand(CommandContext& context, const std::string& mode,
                              const std::string& name, const std::string& value) {
    LightField field;
    CommandStatus status = ParseField(name, value, field);
    if (!status.Ok()) return status;
    CliSession session(context.setup);
    status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    status = NeedLighting(session);
    if (!status.Ok()) return status;
    LightRow row;
    status = FindEffect(session, mode, row);
    if (!status.Ok()) return status;
    status = CheckShown(row, field, name);
    if (!status.Ok()) return status;
    switch (field.kind) {
        case LightField::Kind::Brightness:
            row.brightness = field.value;
            break;
        case LightField::Kind::Speed:
            row.speed = field.value;
            break;
        case LightField::Kind::Colour:
            row.colorValues[static_cast<size_t>(field.slot - 1)] = field.value;
            break;
    }
    if (!session.Store().UpdateLightRow(row.mode, row)) {
        return CommandStatus::Failure(Format("storing effect %d failed", row.mode));
    }
    // The page edits the effect it shows, which is the active one: setting an effect shows it.
    status = Activate(session, row.mode);
    if (!status.Ok()) return status;
    CliDocument document;
    document["effect"] = EffectDocument(row, row.mode);
    context.output.Print(document);
    return CommandStatus::Success();
}

}  // namespace kestrix
