// SPDX-License-Identifier: MIT
#include <algorithm>
#include <vector>

#include "base/Text.h"
#include "cli/AssignmentRules.h"
#include "cli/CliCommands.h"
#include "cli/SettingRules.h"
#include "device/DeviceTask.h"
#include "platform/LanguageTexts.h"

namespace kestrix {
namespace {

constexpr int kPrimaryButton = 0;
constexpr int kResetType = 1;
constexpr int kMacroType = 4;
constexpr DeviceTask kButtonTask = DeviceTask::WriteButtons;

std::string Text(int id) { return GetLanText(id); }

// The key code named by text when the model has such a button.
CommandStatus FindKey(const CliSession& session, const std::string& text, int& keyCode) {
    std::string codes;
    for (const ModelKeyEntry& key : session.Definition().keys) {
        codes += (codes.empty() ? "" : ", ") + std::to_string(key.keyValue);
        if (ParseInteger(text, keyCode) && key.keyValue == keyCode) return CommandStatus::Success();
    }
    return CommandStatus::BadValue("\"" + text + "\" is not a key code of " +
                                   session.Model()->name + "; key codes: " + codes);
}

CommandStatus StoreAndSend(CliSession& session, const KeyAssignmentRow& row) {
    if (session.Store().ReplaceKeyAssignment(row) <= 0) {
        return CommandStatus::Failure(
            Format("storing the assignment of button %d failed", row.keyCode));
    }
    if (row.macroType == kMacroType) {
        // As on the button page: the macro goes to the mouse before the button table.
        session.Worker().UpdateState([&row](DeviceState& s) { s.pendingMacroKey = row.keyCode; });
    }
    return session.RunTask(kButtonTask);
}

}  // namespace

CommandStatus ButtonListCommand(CommandContext& context) {
    CliSession session(context.setup);
    const CommandStatus opened = session.Open(SessionNeed::Store);
    if (!opened.Ok()) return opened;
    std::vector<KeyAssignmentRow> rows;
    session.Store().ListKeyAssignments(session.Profile(), rows);
    CliDocument list = CliDocument::array();
    for (const ModelKeyEntry& key : session.Definition().keys) {
        CliDocument button;
        button["key_code"] = key.keyValue;
        button["name"] = Text(key.name);
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const KeyAssignmentRow& r) {
            return r.keyCode == key.keyValue;
        });
        if (row == rows.end()) {
            button["function"] = Text(key.funcDesc);
            button["type"] = nullptr;
            button["value"] = nullptr;
            button["value2"] = nullptr;
        } else {
            button["function"] = row->macroType == kMacroType
                                     ? LocaliseGeneratedName(row->macroDesc)
                                     : AssignmentDisplayText(*row, Text);
            button["type"] = row->macroType;
            button["value"] = row->macroValue;
            button["value2"] = row->macroValue2;
        }
        list.push_back(button);
    }
    CliDocument document;
    document["profile"] = ProfileDocument(session);
    document["buttons"] = list;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus ButtonSetCommand(CommandContext& context, const std::string& keyText,
                               const std::string& typeText, const std::string& value,
                               const std::optional<std::string>& value2) {
    int type = 0;
    if (!ParseInteger(typeText, type)) type = -1;
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    int keyCode = 0;
    status = FindKey(session, keyText, keyCode);
    if (!status.Ok()) return status;
    DataStore& store = session.Store();
    const MacroNameLookup macroName = [&store](int id) -> std::optional<std::string> {
        MacroRow macro;
        if (!store.GetMacro(id, macro)) return std::nullopt;
        return macro.name;
    };
    std::optional<std::string_view> second;
    if (value2) second = *value2;
    AssignmentCheck check = CheckAssignment(type, value, second, Text, macroName);
    if (!check.status.Ok()) return check.status;
    if (keyCode == kPrimaryButton && !context.confirmed) {
        return CommandStatus::BadValue(
            "key code 0 is the primary button; add --yes to reassign it");
    }
    KeyAssignmentRow& row = check.row;
    row.profile = session.Profile();
    row.fnLayer = 0;
    row.keyCode = keyCode;
    CliDocument document;
    document["key_code"] = keyCode;
    document["type"] = row.macroType;
    document["value"] = row.macroValue;
    document["value2"] = row.macroValue2;
    document["function"] = row.macroDesc;
    status = StoreAndSend(session, row);
    if (!status.Ok()) return status;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus ButtonResetCommand(CommandContext& context, const std::string& keyText) {
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    CliDocument document;
    if (keyText == "all") {
        if (!session.Store().DeleteProfileKeyAssignments(session.Profile())) {
            return CommandStatus::Failure("deleting the button assignments failed");
        }
        status = session.RunTask(kButtonTask);
        if (!status.Ok()) return status;
        CliDocument codes = CliDocument::array();
        for (const ModelKeyEntry& key : session.Definition().keys) codes.push_back(key.keyValue);
        document["reset"] = codes;
        context.output.Print(document);
        return CommandStatus::Success();
    }
    int keyCode = 0;
    status = FindKey(session, keyText, keyCode);
    if (!status.Ok()) return status;
    // An assignment with both values 0 only deletes the button's row: the mouse's default.
    KeyAssignmentRow row;
    row.profile = session.Profile();
    row.keyCode = keyCode;
    row.macroType = kResetType;
    session.Store().ReplaceKeyAssignment(row);
    KeyAssignmentRow left;
    if (session.Store().GetKeyAssignment(session.Profile(), keyCode, left)) {
        return CommandStatus::Failure(
            Format("deleting the assignment of button %d failed", keyCode));
    }
    status = session.RunTask(kButtonTask);
    if (!status.Ok()) return status;
    document["reset"] = CliDocument::array({keyCode});
    context.output.Print(document);
    return CommandStatus::Success();
}

}  // namespace kestrix
