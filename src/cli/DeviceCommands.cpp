// SPDX-License-Identifier: MIT
#include <algorithm>
#include <vector>

#include "base/Text.h"
#include "cli/CliCommands.h"
#include "cli/SettingRules.h"
#include "device/DeviceTask.h"
#include "platform/LanguageTexts.h"
#include "rules/SensorDpiRules.h"
#include "store/DefaultSettings.h"

namespace kestrix {
namespace {

const char* ConnectionName(int mode) { return mode == 1 ? "receiver" : "cable"; }

const char* LinkName(int linkState) {
    switch (linkState) {
        case kLinkUp:
            return "up";
        case kLinkDown:
            return "down";
        default:
            return "absent";
    }
}

CliDocument StoredValue(const std::string& text) {
    int number = 0;
    if (ParseInteger(text, number)) return number;
    return text;
}

// Battery values as the identity answer gave them; null while the mouse does not answer.
void AddBattery(CliDocument& document, const DeviceState& state, bool online) {
    document["battery_level"] = online ? CliDocument(state.batteryB) : CliDocument();
    document["battery_charge"] = online ? CliDocument(state.batteryA) : CliDocument();
}

}  // namespace

CliDocument ProfileDocument(CliSession& session) {
    CliDocument profile;
    std::string name;
    session.Store().GetProfileName(session.Profile(), name);
    profile["id"] = session.Profile();
    profile["name"] = LocaliseProfileName(name);
    return profile;
}

// A setting the store could not read is a failure of the command, never printed as null (null
// means the profile holds no such row).
CommandStatus ReadFailureSince(CliSession& session, unsigned mark) {
    if (session.Store().FailureCount() == mark) return CommandStatus::Success();
    return CommandStatus::Failure("the database could not be read: " +
                                  session.Store().LastFailure());
}

CliDocument SettingsDocument(CliSession& session) {
    CliDocument settings = CliDocument::object();
    for (const DefaultSetting& setting : DefaultSettings()) {
        std::string value;
        settings[std::string(setting.key)] =
            session.Store().GetSetting(session.Profile(), setting.key, value) ? StoredValue(value)
                                                                              : CliDocument();
    }
    return settings;
}

CommandStatus DevicesCommand(CommandContext& context) {
    CliSession session(context.setup);
    const CommandStatus opened = session.Open(SessionNeed::Devices);
    if (!opened.Ok()) return opened;
    HidDeviceManager& manager = session.Manager();
    const std::vector<HidDeviceEntryView> entries = manager.ListAllEntries();
    if (entries.empty() && !manager.DeniedPaths().empty()) {
        return CommandStatus::Failure(PermissionFixMessage(manager.DeniedPaths()));
    }

    // Each attached model's identity (battery, on line) comes from a rescan that selects it.
    std::vector<std::pair<int, DeviceState>> identities;
    for (const HidDeviceEntryView& entry : entries) {
        if (entry.modelNumber <= 0) continue;
        const bool seen = std::any_of(identities.begin(), identities.end(), [&](const auto& known) {
            return known.first == entry.modelNumber;
        });
        if (seen) continue;
        const std::optional<DeviceState> identity = session.IdentityOf(entry.modelNumber);
        if (identity) identities.emplace_back(entry.modelNumber, *identity);
    }

    CliDocument list = CliDocument::array();
    for (const HidDeviceEntryView& entry : entries) {
        CliDocument device;
        device["model"] = entry.modelNumber;
        std::string name;
        for (const CatalogueLine& line : session.GetCatalogue().lines) {
            if (line.vid == entry.vendorId && line.pid == entry.productId) name = line.model.name;
        }
        device["name"] = name;
        device["connection"] = ConnectionName(entry.mode);
        device["link"] = LinkName(entry.linkState);
        device["release"] = entry.releaseNumber;
        device["path"] = entry.path;
        const auto identity =
            std::find_if(identities.begin(), identities.end(),
                         [&](const auto& known) { return known.first == entry.modelNumber; });
        const bool online = identity != identities.end() && identity->second.mouseOnline != 0 &&
                            entry.linkState == kLinkUp;
        AddBattery(device, identity != identities.end() ? identity->second : DeviceState{}, online);
        list.push_back(device);
    }
    CliDocument document;
    document["devices"] = list;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus InfoCommand(CommandContext& context) {
    CliSession session(context.setup);
    const CommandStatus opened = session.Open(SessionNeed::Mouse);
    if (!opened.Ok()) return opened;
    const DeviceState state = session.Worker().State();
    const SensorDpiRules rules = SensorDpiRules::ForSensor(state.sensorCode);
    CliDocument document;
    document["model"] = session.ModelNumber();
    document["name"] = session.Model()->name;
    document["connection"] =
        ConnectionName(session.Manager().GetConnectionKind() == ConnectionKind::Receiver ? 1 : 0);
    document["mouse_online"] = state.mouseOnline != 0;
    document["sensor_code"] = state.sensorCode;
    document["dpi_min"] = state.minimumDpi;
    document["dpi_max"] = state.maximumDpi;
    document["dpi_settable"] =
        CliDocument{{"min", rules.SnapTypedDpi(0)}, {"max", rules.SnapTypedDpi(1000000)}};
    document["report_rate_class"] = state.reportRateClass;
    CliDocument rates = CliDocument::array();
    for (int code : OfferedReportRates(state.reportRateClass)) {
        rates.push_back(CliDocument{{"code", code}, {"hz", ReportRateHz(code)}});
    }
    document["report_rates"] = rates;
    AddBattery(document, state, true);
    document["lighting"] = session.Definition().lightingPage;
    document["profile"] = ProfileDocument(session);
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus ReadCommand(CommandContext& context) {
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    // The read copies the mouse into the store only for a model not read yet in this run.
    session.Worker().UpdateState([](DeviceState& s) { s.readModels.clear(); });
    status = session.RunTask(DeviceTask::ReadWithRefresh);
    if (!status.Ok()) return status;
    const unsigned failures = session.Store().FailureCount();
    CliDocument document;
    document["profile"] = ProfileDocument(session);
    const std::string firmware = session.ReportedFirmware();
    document["firmware_version"] = firmware.empty() ? CliDocument() : CliDocument(firmware);
    document["settings"] = SettingsDocument(session);
    status = ReadFailureSince(session, failures);
    if (!status.Ok()) return status;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus GetCommand(CommandContext& context, const std::optional<std::string>& key) {
    if (key && !IsStoredSetting(*key)) {
        std::string known;
        for (const DefaultSetting& setting : DefaultSettings()) {
            known += (known.empty() ? "" : ", ") + std::string(setting.key);
        }
        return CommandStatus::BadValue("unknown key \"" + *key + "\"; keys: " + known);
    }
    CliSession session(context.setup);
    const CommandStatus opened = session.Open(SessionNeed::Store);
    if (!opened.Ok()) return opened;
    if (key) {
        std::string value;
        const size_t mark = session.Log().Mark();
        if (!session.Store().GetSetting(session.Profile(), *key, value)) {
            return session.StoreFailure(
                mark, Format("profile %d has no stored %s", session.Profile(), key->c_str()));
        }
        if (context.output.Json()) {
            CliDocument document;
            document[*key] = StoredValue(value);
            context.output.Print(document);
        } else {
            context.output.PlainLine(value);
        }
        return CommandStatus::Success();
    }
    const unsigned failures = session.Store().FailureCount();
    CliDocument document;
    document["profile"] = ProfileDocument(session);
    document["settings"] = SettingsDocument(session);
    const CommandStatus read = ReadFailureSince(session, failures);
    if (!read.Ok()) return read;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus SetCommand(CommandContext& context, const std::string& key,
                         const std::string& value) {
    const std::vector<std::string> settable = SettableKeys();
    if (std::find(settable.begin(), settable.end(), key) == settable.end()) {
        return CheckSetting(key, value, SettingLimits{}).status;
    }
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    const DeviceState state = session.Worker().State();
    DataStore& store = session.Store();
    SettingLimits limits;
    limits.sensorCode = state.sensorCode;
    limits.reportRateClass = state.reportRateClass;
    store.GetSettingInt(session.Profile(), "dpi_count", limits.dpiCount);
    store.GetSettingInt(session.Profile(), "dpi_index", limits.dpiIndex);
    const SettingCheck check = CheckSetting(key, value, limits);
    if (!check.status.Ok()) return check.status;

    CliDocument document;
    for (const auto& [name, number] : check.change.values) {
        if (!store.SetSettingInt(session.Profile(), name, number)) {
            return CommandStatus::Failure(
                Format("storing %s failed: %s", name.c_str(), store.LastFailure().c_str()));
        }
        document[name] = number;
    }
    if (!check.change.note.empty()) context.output.Note(check.change.note);
    status = session.RunTask(check.change.task);
    if (!status.Ok()) return status;
    context.output.Print(document);
    return CommandStatus::Success();
}

CommandStatus TaskCommand(CommandContext& context, DeviceTask task) {
    if (task == DeviceTask::RestoreFactory && !context.confirmed) {
        return CommandStatus::BadValue(
            "factory-reset restores the mouse and deletes the button assignments of profiles 1-5; "
            "add --yes to go on");
    }
    CliSession session(context.setup);
    CommandStatus status = session.Open(SessionNeed::Mouse);
    if (!status.Ok()) return status;
    status = session.RunTask(task);
    if (!status.Ok()) return status;
    CliDocument document;
    document["profile"] = ProfileDocument(session);
    if (task != DeviceTask::WriteAll) document["settings"] = SettingsDocument(session);
    context.output.Print(document);
    return CommandStatus::Success();
}

}  // namespace kestrix
