// SPDX-License-Identifier: MIT
#include <algorithm>
#include <filesystem>
#include <vector>

#include "base/Text.h"
#include "cli/CliCommands.h"
#include "cli/SettingRules.h"
#include "exchange/MacroFile.h"
#include "platform/LanguageTexts.h"

namespace kestrix {
namespace {

// Opens the store of the model (the mouse itself is not needed for the macro library).
CommandStatus OpenLibrary(CliSession& session) { return session.Open(SessionNeed::Store); }

CommandStatus FindMacro(CliSession& session, const std::string& text, MacroRow& macro) {
    int id = 0;
    if (ParseInteger(text, id) && id > 0 && session.Store().GetMacro(id, macro))
        return CommandStatus::Success();
    return CommandStatus::BadValue("no macro with id \"" + text + "\" (see \"macro list\")");
}

CliDocument MacroDocument(CliSession& session, const MacroRow& macro, bool withEvents) {
    std::vector<MacroRecordRow> records;
    session.Store().ListMacroRecords(macro.macroId, records);
    CliDocument document;
    document["id"] = macro.macroId;
    document["name"] = LocaliseGeneratedName(macro.name);
    document["play_type"] = macro.playType;
    document["play_times"] = macro.playTimes;
    document["delay_type"] = macro.delayType;
    document["delay_time"] = macro.delayTime;
    if (!withEvents) {
        document["events"] = records.size();
        return document;
    }
    CliDocument events = CliDocument::array();
    for (const MacroRecordRow& record : records) {
        events.push_back(CliDocument{{"index", record.recordIndex},
                                     {"type", record.type},
                                     {"value", record.value},
                                     {"timestamp", record.delayTime},
                                     {"desc", record.desc}});
    }
    document["events"] = events;
    return document;
}

CommandStatus NeedFile(const CommandContext& context, const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(context.LocalPath(path), error))
        return CommandStatus::BadValue("no such file: " + path);
    return CommandStatus::Success();
}

CliDocument ImportedDocument(const std::vector<ImportedMacro>& macros) {
    CliDocument list = CliDocument::array();
    for (const ImportedMacro& macro : macros) {
        list.push_back(
            CliDocument{{"id", macro.macroId}, {"name", LocaliseGeneratedName(macro.name)}});
    }
    CliDocument document;
    document["imported"] = list;
    return document;
}

}  // namespace

CommandStatus MacroListCommand(CommandContext& context) {
    CliSession session(context.setup);
    const CommandStatus opened = OpenLibrary(session);
    if (!opened.Ok()) return opened;
    const unsigned failures = session.Store().FailureCount();
    std::vector<MacroRow> macros;
    session.Store().ListMacros(macros);
    CliDocument list = CliDocument::array();
    for (const MacroRow& macro : macros) list.push_back(MacroDocument(session, macro, false));
    if (session.Store().FailureCount() != failures) {
        return CommandStatus::Failure("the macros could not be read: " +
                                      session.Store().LastFailure());
    }
    CliDocument document;
    document["macros"] = list;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus MacroShowCommand(CommandContext& context, const std::string& id) {
    CliSession session(context.setup);
    CommandStatus status = OpenLibrary(session);
    if (!status.Ok()) return status;
    MacroRow macro;
    status = FindMacro(session, id, macro);
    if (!status.Ok()) return status;
    CliDocument document;
    document["macro"] = MacroDocument(session, macro, true);
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus MacroNewCommand(CommandContext& context, const std::string& typedName) {
    const std::string name = RemoveControlCharacters(typedName);
    if (name.empty()) return CommandStatus::BadValue("the macro NAME must not be empty");
    CliSession session(context.setup);
    const CommandStatus opened = OpenLibrary(session);
    if (!opened.Ok()) return opened;
    const int id = session.Store().InsertNamedMacro(name);
    if (id <= 0) return CommandStatus::Failure("storing the new macro failed");
    MacroRow macro;
    session.Store().GetMacro(id, macro);
    CliDocument document;
    document["macro"] = MacroDocument(session, macro, false);
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus MacroDeleteCommand(CommandContext& context, const std::string& id) {
    CliSession session(context.setup);
    CommandStatus status = OpenLibrary(session);
    if (!status.Ok()) return status;
    MacroRow macro;
    status = FindMacro(session, id, macro);
    if (!status.Ok()) return status;
    if (!session.Store().DeleteMacro(macro.macroId)) {
        return CommandStatus::Failure(Format("deleting macro %d failed", macro.macroId));
    }
    CliDocument document;
    document["deleted"] = macro.macroId;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus MacroImportCommand(CommandContext& context, const std::string& path, bool list) {
    CommandStatus status = NeedFile(context, path);
    if (!status.Ok()) return status;
    CliSession session(context.setup);
    status = OpenLibrary(session);
    if (!status.Ok()) return status;
    const size_t mark = session.Log().Mark();
    std::vector<ImportedMacro> imported;
    if (list) {
        MacroListImport result = ImportMacroList(session.Store(), context.LocalPath(path));
        imported = std::move(result.macros);
        if (!result.complete) {
            // The macros before the refused one stay imported; say which.
            std::string kept;
            for (const ImportedMacro& macro : imported)
                kept += (kept.empty() ? "" : ", ") + std::to_string(macro.macroId);
            return CommandStatus::Failure(
                session.LoggedReason(mark, "the file is not a macro file; nothing imported") +
                (imported.empty() ? std::string() : " (already imported: macros " + kept + ")"));
        }
    } else {
        const std::optional<ImportedMacro> macro =
            ImportMacro(session.Store(), context.LocalPath(path));
        if (!macro) {
            return CommandStatus::Failure(
                session.LoggedReason(mark, "the file is not a macro file; nothing imported"));
        }
        imported.push_back(*macro);
    }
    context.output.Print(ImportedDocument(imported));
    return CommandStatus::Success();
}

CommandStatus MacroExportCommand(CommandContext& context, const std::string& id,
                                 const std::string& path) {
    CliSession session(context.setup);
    CommandStatus status = OpenLibrary(session);
    if (!status.Ok()) return status;
    MacroRow macro;
    status = FindMacro(session, id, macro);
    if (!status.Ok()) return status;
    const size_t mark = session.Log().Mark();
    if (!ExportMacro(session.Store(), macro.macroId, context.LocalPath(path))) {
        return CommandStatus::Failure(
            session.LoggedReason(mark, "the macro file could not be written"));
    }
    CliDocument document;
    document["exported"] = path;
    document["macro"] =
        CliDocument{{"id", macro.macroId}, {"name", LocaliseGeneratedName(macro.name)}};
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus MacroExportAllCommand(CommandContext& context, const std::string& path) {
    CliSession session(context.setup);
    const CommandStatus opened = OpenLibrary(session);
    if (!opened.Ok()) return opened;
    const size_t mark = session.Log().Mark();
    if (!ExportAllMacros(session.Store(), context.LocalPath(path))) {
        return CommandStatus::Failure(
            session.LoggedReason(mark, "the macro file could not be written"));
    }
    std::vector<MacroRow> macros;
    CliDocument document;
    document["exported"] = path;
    document["count"] = std::max(session.Store().ListMacros(macros), 0);
    context.output.Print(document);
    return CommandStatus::Success();
}

}  // namespace kestrix
