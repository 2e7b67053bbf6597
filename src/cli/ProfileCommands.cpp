// SPDX-License-Identifier: MIT
#include <filesystem>
#include <vector>

#include "base/Text.h"
#include "cli/CliCommands.h"
#include "cli/SettingRules.h"
#include "exchange/ProfileFile.h"
#include "platform/LanguageTexts.h"

namespace kestrix {
namespace {

// The profile named by text when the database has it.
CommandStatus FindProfile(CliSession& session, const std::string& text, ProfileId& profile) {
    std::vector<ProfileRow> rows;
    if (session.Store().ListProfiles(rows) < 0)
        return CommandStatus::Failure("the profiles could not be read: " +
                                      session.Store().LastFailure());
    std::string ids;
    for (const ProfileRow& row : rows) {
        ids += (ids.empty() ? "" : ", ") + std::to_string(row.profile);
        if (ParseInteger(text, profile) && row.profile == profile) return CommandStatus::Success();
    }
    return CommandStatus::BadValue("profile \"" + text + "\" does not exist; profiles: " + ids);
}

CommandStatus NeedFile(const CommandContext& context, const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(context.LocalPath(path), error))
        return CommandStatus::BadValue("no such file: " + path);
    return CommandStatus::Success();
}

CliDocument ProfileRowDocument(const ProfileRow& row) {
    return CliDocument{
        {"id", row.profile}, {"name", LocaliseProfileName(row.name)}, {"active", row.status == 1}};
}

}  // namespace

CommandStatus ProfileListCommand(CommandContext& context) {
    CliSession session(context.setup);
    const CommandStatus opened = session.Open(SessionNeed::Store);
    if (!opened.Ok()) return opened;
    std::vector<ProfileRow> rows;
    if (session.Store().ListProfiles(rows) < 0)
        return CommandStatus::Failure("the profiles could not be read: " +
                                      session.Store().LastFailure());
    CliDocument list = CliDocument::array();
    for (const ProfileRow& row : rows) list.push_back(ProfileRowDocument(row));
    CliDocument document;
    document["profiles"] = list;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus ProfileUseCommand(CommandContext& context, const std::string& profileText) {
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    ProfileId profile = 0;
    status = FindProfile(session, profileText, profile);
    if (!status.Ok()) return status;
    DataStore& store = session.Store();
    if (!store.SetActiveProfile(profile))
        return CommandStatus::Failure(Format("activating profile %d failed", profile));
    store.SetCurrentProfile(profile);
    session.EnsureLightRows(profile);
    // Choosing a profile sends all of it to the mouse, as the window's profile pop-up does.
    status = session.RunTask(kApplyProfileTask);
    if (!status.Ok()) return status;
    std::string name;
    store.GetProfileName(profile, name);
    CliDocument document;
    document["profile"] = CliDocument{{"id", profile}, {"name", LocaliseProfileName(name)}};
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus ProfileRenameCommand(CommandContext& context, const std::string& profileText,
                                   const std::string& typedName) {
    const std::string name = RemoveControlCharacters(typedName);
    if (name.empty()) return CommandStatus::BadValue("the profile NAME must not be empty");
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Store);
    if (!status.Ok()) return status;
    ProfileId profile = 0;
    status = FindProfile(session, profileText, profile);
    if (!status.Ok()) return status;
    if (!session.Store().RenameProfile(profile, name)) {
        return CommandStatus::Failure(Format("renaming profile %d failed", profile));
    }
    CliDocument document;
    document["profile"] = CliDocument{{"id", profile}, {"name", LocaliseProfileName(name)}};
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus ProfileExportCommand(CommandContext& context, const std::string& path) {
    CliSession session(context.setup);
    const CommandStatus opened = session.Open(SessionNeed::Store);
    if (!opened.Ok()) return opened;
    const size_t mark = session.Log().Mark();
    if (!ExportProfile(session.Store(), session.Profile(), context.LocalPath(path),
                       session.Definition().lightingPage,
                       [](const std::string& stored) { return ExportedProfileName(stored); })) {
        return CommandStatus::Failure(
            session.LoggedReason(mark, "the profile file could not be written"));
    }
    CliDocument document;
    document["profile"] = ProfileDocument(session);
    document["exported"] = path;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus ProfileImportCommand(CommandContext& context, const std::string& path) {
    CommandStatus status = NeedFile(context, path);
    if (!status.Ok()) return status;
    CliSession session(context.setup);
    status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    std::vector<DeviceTask> tasks;
    const size_t mark = session.Log().Mark();
    // The file's values are held to the ranges set accepts for this mouse.
    const DeviceState state = session.Worker().State();
    SettingLimits limits;
    limits.sensorCode = state.sensorCode;
    limits.reportRateClass = state.reportRateClass;
    const ProfileImportResult result =
        ImportProfile(session.Store(), session.Profile(), context.LocalPath(path),
                      session.Definition().lightingPage, limits,
                      [&tasks](DeviceTask task) { tasks.push_back(task); });
    if (!result.refusal.empty()) {
        return CommandStatus::BadValue(result.refusal + "; nothing imported");
    }
    if (!result.imported) {
        return CommandStatus::Failure(
            session.LoggedReason(mark, "the file is not a profile file; nothing imported"));
    }
    for (DeviceTask task : tasks) {
        status = session.RunTask(task);
        if (!status.Ok()) return status;
    }
    CliDocument document;
    document["profile"] =
        CliDocument{{"id", session.Profile()}, {"name", LocaliseProfileName(result.profileName)}};
    document["imported"] = path;
    context.output.Print(document);
    return CommandStatus::Success();
}

}  // namespace kestrix
