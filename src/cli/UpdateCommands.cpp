// SPDX-License-Identifier: MIT
#include "cli/UpdateCommands.h"

#include "base/Text.h"
#include "device/DeviceTask.h"
#include "device/FirmwareUpgrade.h"
#include "platform/LanguageTexts.h"
#include "update/UpdateEvents.h"
#include "update/UpdateService.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

// The program's version and the update server's base from config.xml.
struct SoftwareUpdateSource {
    std::string version;
    std::string upgradeUrl;
};

SoftwareUpdateSource ReadSoftwareUpdateSource(const std::string& programFolder) {
    SoftwareUpdateSource source;
    XmlDocument doc;
    if (!doc.LoadFile(programFolder + "config.xml") || !doc.FindElement("config")) return source;
    doc.IntoElement();
    if (!doc.FindElement("software")) return source;
    source.version = doc.GetAttribute("version");
    doc.IntoElement();
    if (doc.FindElement("upgrade")) source.upgradeUrl = doc.GetAttribute("url");
    return source;
}

// Prints the firmware window's steps as notes; the settings-page effects are the result.
class CliUpdateEvents final : public UpdateEvents {
  public:
    explicit CliUpdateEvents(CliOutput& output) : m_output(output) {}
    void ShowApplicationCheck(const std::string&, const std::string&, bool) override {}
    void ShowFirmwareCheck(const std::string&, const std::string&, int) override {}
    void FirmwareStep(int textId, int percent) override {
        const std::string note = Format("%s: %d%%", GetLanText(textId).c_str(), percent);
        // The last step comes after a failure too; it is printed only once the upgrade is
        // known to have worked, so a failed one never reads as complete.
        if (textId == kFirmwareTextDone) {
            m_doneNote = note;
            return;
        }
        m_output.Note(note);
    }
    void DownloadFailed() override {}
    // Prints the last step held back by FirmwareStep.
    void ShowDone() {
        if (!m_doneNote.empty()) m_output.Note(m_doneNote);
        m_doneNote.clear();
    }

  private:
    CliOutput& m_output;
    std::string m_doneNote;
};

UpdateConfig MakeConfig(const CommandContext& context, CliSession* session) {
    const SoftwareUpdateSource source = ReadSoftwareUpdateSource(context.setup.programFolder);
    UpdateConfig config;
    config.applicationVersion = source.version;
    config.applicationBase = source.upgradeUrl;
    config.dataFolder = context.setup.dataFolder;
    config.getLanText = [](int id) { return GetLanText(id); };
    if (session != nullptr) {
        config.firmwareTarget = [session] {
            return FirmwareTarget{session->Definition().firmwareUrl, session->ReportedFirmware()};
        };
    }
    return config;
}

// Opens a session with the mouse, reads it (for the firmware version behind a receiver) and
// runs the firmware check.
CommandStatus CheckFirmware(CliSession& session, UpdateService& service) {
    CommandStatus status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    // Only a full read asks a mouse behind its receiver for its firmware version, and the
    // worker reads a model fully once per run: this session's opening counted as that run.
    session.Worker().UpdateState([](DeviceState& s) { s.readModels.clear(); });
    status = session.RunTask(DeviceTask::ReadWithRefresh);
    if (!status.Ok()) return status;
    if (session.Definition().firmwareUrl.empty()) {
        return CommandStatus::Failure("the model has no firmware service");
    }
    const size_t mark = session.Log().Mark();
    service.CheckFirmware();
    if (service.Status().firmwareState == kUpdateStateUnknown) {
        return CommandStatus::Failure(
            session.LoggedReason(mark, "the firmware service did not answer"));
    }
    return CommandStatus::Success();
}

CliDocument FirmwareDocument(CliSession& session, const UpdateStatus& status) {
    CliDocument document;
    document["current"] = session.ReportedFirmware();
    document["latest"] = status.latestFirmware;
    document["state"] = status.firmwareState;
    return document;
}

}  // namespace

CommandStatus UpdateCheckCommand(CommandContext& context) {
    CliEvents events;
    CliUpdateEvents updateEvents(context.output);
    UpdateService service(MakeConfig(context, nullptr), nullptr, events, updateEvents);
    service.CheckApplication();
    const UpdateStatus status = service.Status();
    if (status.applicationState == kUpdateStateUnknown) {
        return CommandStatus::Failure("the update server did not answer with a version");
    }
    CliDocument document;
    document["current"] = MakeConfig(context, nullptr).applicationVersion;
    document["latest"] = status.latestVersion;
    document["state"] = status.applicationState;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus FirmwareCheckCommand(CommandContext& context) {
    CliSession session(context.setup);
    CliUpdateEvents updateEvents(context.output);
    UpdateService service(MakeConfig(context, &session), &session.Manager(), session.Events(),
                          updateEvents);
    const CommandStatus status = CheckFirmware(session, service);
    if (!status.Ok()) return status;
    context.output.Print(FirmwareDocument(session, service.Status()));
    return CommandStatus::Success();
}

CommandStatus FirmwareUpgradeCommand(CommandContext& context) {
    if (!context.confirmed) {
        return CommandStatus::BadValue(
            "firmware upgrade rewrites the mouse's firmware; confirm with --yes");
    }
    if (context.setup.host != nullptr) {
        // Flashing takes the mouse into its boot loader for a minute; the window has its own
        // firmware window for that, with the progress and the restart of its worker.
        return {kExitGuiRunning,
                "the window program is running; upgrade the firmware from its window, or close it "
                "and try again"};
    }
    CliSession session(context.setup);
    CliUpdateEvents updateEvents(context.output);
    UpdateService service(MakeConfig(context, &session), &session.Manager(), session.Events(),
                          updateEvents);
    CommandStatus status = CheckFirmware(session, service);
    if (!status.Ok()) return status;
    if (service.Status().firmwareState != kUpdateStateNewer) {
        CliDocument document = FirmwareDocument(session, service.Status());
        document["flashed"] = false;
        context.output.Print(document);
        return CommandStatus::Success();
    }
    const FirmwareUpgradeResult result = service.UpgradeFirmware();
    if (!result.ok) return CommandStatus::Failure(result.reason);
    updateEvents.ShowDone();
    CliDocument document = FirmwareDocument(session, service.Status());
    document["flashed"] = true;
    context.output.Print(document);
    return CommandStatus::Success();
}

}  // namespace kestrix
