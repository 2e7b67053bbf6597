// SPDX-License-Identifier: MIT
#include "cli/CliSession.h"

#include <algorithm>
#include <filesystem>
#include <future>
#include <vector>

#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "platform/AppRegistry.h"
#include "platform/LanguageTexts.h"
#include "rules/EnsureProfiles.h"
#include "store/DefaultLightRows.h"

namespace kestrix {

CliSession::CliSession(SessionSetup setup) : m_setup(std::move(setup)) {
    if (m_setup.host != nullptr) {
        m_store = m_setup.host->store;
        m_manager = m_setup.host->manager;
        m_worker = m_setup.host->worker;
    } else {
        m_ownManager = std::make_unique<HidDeviceManager>(m_setup.backend);
        m_manager = m_ownManager.get();
    }
}

CliSession::~CliSession() {
    m_ownWorker.reset();
    m_ownStore.Close();
}

int CliSession::RememberedModel::ReadAppRegistryInt(const std::string& valueName) {
    return valueName == kDeviceTypeValue ? model : 0;
}

const CatalogueModel* CliSession::Model() const {
    for (const CatalogueModel& model : m_setup.catalogue.models) {
        if (model.deviceType == m_model) return &model;
    }
    return nullptr;
}

std::string CliSession::LoggedReason(size_t mark, const char* fallback) const {
    const std::string reason = m_log.LastLineSince(mark);
    return reason.empty() ? std::string(fallback) : reason;
}

int CliSession::StoredModel(const std::string& programName) {
    LinuxAppRegistry registry(programName);
    std::error_code error;
    // Reading would create the key of a program that never ran; a script must not.
    if (!std::filesystem::exists(registry.FilePath(), error)) return 0;
    return registry.ReadAppRegistryInt(kDeviceTypeValue);
}

std::string CliSession::DescribeEntry(const HidDeviceEntryView& entry) {
    if (entry.mode == 1) {
        return Format("the mouse of the receiver \"%s\" at %s", entry.productString.c_str(),
                      entry.path.c_str());
    }
    return Format("the mouse \"%s\" attached by cable at %s", entry.productString.c_str(),
                  entry.path.c_str());
}

CommandStatus CliSession::CheckChosenMouse(int preferred) {
    const std::vector<HidDeviceEntryView> entries = m_manager->ListAllEntries();
    if (entries.empty()) return CommandStatus::Success();
    const int stored = preferred;
    auto chosen = std::find_if(entries.begin(), entries.end(), [stored](const auto& entry) {
        return stored != 0 && entry.modelNumber == stored;
    });
    if (chosen == entries.end()) chosen = entries.begin();
    if (chosen->modelNumber <= 0 || chosen->linkState != kLinkUp) {
        return CommandStatus::Failure(
            DescribeEntry(*chosen) + " does not answer" +
            (chosen->mode == 1 ? " (switched off or out of range)" : "") +
            "; nothing was done (name another attached mouse with --model N)");
    }
    const bool several = std::any_of(entries.begin(), entries.end(),
                                     [&](const auto& entry) { return entry.path != chosen->path; });
    if (several && m_setup.output != nullptr) {
        std::string name;
        for (const CatalogueModel& m : m_setup.catalogue.models) {
            if (m.deviceType == chosen->modelNumber) name = m.name;
        }
        m_setup.output->SetChosenMouse(
            CliDocument{{"model", chosen->modelNumber},
                        {"name", name},
                        {"connection", chosen->mode == 1 ? "receiver" : "cable"},
                        {"path", chosen->path}});
    }
    return CommandStatus::Success();
}

CommandStatus CliSession::Open(SessionNeed need) {
    if (m_setup.host != nullptr) return OpenHosted(need);
    const unsigned failures = m_store->FailureCount();
    DeviceWorkerConfig config;
    config.catalogueLines = m_setup.catalogue.lines;
    config.programFolder = m_setup.programFolder;
    // Without a data folder the worker leaves the store closed: the device list needs none.
    config.dataFolder = need == SessionNeed::Devices ? std::string() : m_setup.dataFolder;
    config.registry = &m_remembered;
    config.getLanText = [](int id) { return GetLanText(id); };
    m_ownWorker = std::make_unique<DeviceWorker>(*m_manager, *m_store, m_events, std::move(config));
    m_worker = m_ownWorker.get();

    const int requested = m_setup.requestedModel;
    // Without --model the rescan prefers the model the window program remembers, as it does.
    const CommandStatus identified = Identify(requested != 0 ? requested : m_setup.storedModel);
    const DeviceState state = m_worker->State();
    bool attached =
        m_manager->GetConnectionKind() != ConnectionKind::None && state.selectedModel != 0;
    m_model = state.selectedModel;
    if (requested != 0 && m_model != requested) {
        attached = false;
        m_model = requested;
    }
    m_mouseOnline = attached && state.mouseOnline != 0;

    if (need == SessionNeed::Devices) return CommandStatus::Success();
    if (requested == 0) {
        const CommandStatus chosen = CheckChosenMouse(m_setup.storedModel);
        if (!chosen.Ok()) return chosen;
    }
    return CheckOpened(need, attached, identified, failures);
}

CommandStatus CliSession::OpenHosted(SessionNeed need) {
    // The window's worker has rescanned and read already; the session works on its choice.
    const DeviceState state = m_worker->State();
    const int requested = m_setup.requestedModel;
    m_model = state.selectedModel;
    if (need != SessionNeed::Devices && requested != 0 && requested != m_model) {
        // The window's store and worker hold one model at a time; switching it under the
        // user's eyes is the window's choice to make, not a script's.
        return {kExitGuiRunning,
                Format("the window program works on model %d; choose model %d in its window "
                       "(or close it) and try again",
                       m_model, requested)};
    }
    const bool attached =
        m_manager->GetConnectionKind() != ConnectionKind::None && state.selectedModel != 0;
    m_mouseOnline = attached && state.mouseOnline != 0;
    if (need == SessionNeed::Devices) return CommandStatus::Success();
    if (requested == 0) {
        const CommandStatus chosen = CheckChosenMouse(m_model);
        if (!chosen.Ok()) return chosen;
    }
    return CheckOpened(need, attached, CommandStatus::Success(), m_store->FailureCount());
}

CommandStatus CliSession::CheckOpened(SessionNeed need, bool attached,
                                      const CommandStatus& identified, unsigned failures) {
    const int requested = m_setup.requestedModel;
    if (need == SessionNeed::Mouse && !attached) {
        if (requested != 0)
            return CommandStatus::Failure(Format("model %d is not attached", requested));
        const std::vector<std::string> denied = m_manager->DeniedPaths();
        if (!denied.empty()) return CommandStatus::Failure(PermissionFixMessage(denied));
        return CommandStatus::Failure("no supported mouse is attached");
    }
    if (need == SessionNeed::Mouse && !m_mouseOnline) {
        const bool cable = m_manager->GetConnectionKind() == ConnectionKind::Cable;
        return CommandStatus::Failure(
            identified.Ok() ? (cable ? "the mouse attached by cable does not answer"
                                     : "the mouse does not answer (switched off or out of range "
                                       "of its receiver)")
                            : identified.message);
    }
    if (m_model == 0) {
        const std::vector<std::string> denied = m_manager->DeniedPaths();
        if (!denied.empty()) return CommandStatus::Failure(PermissionFixMessage(denied));
        return CommandStatus::Failure(
            "no supported mouse is attached; name the model with --model N to work on its stored "
            "profiles");
    }
    const CatalogueModel* model = Model();
    if (model == nullptr)
        return CommandStatus::Failure(Format("model %d is not in the catalogue", m_model));
    if (!LoadDeviceDefinition(m_setup.programFolder, model->deviceAttr, m_definition)) {
        // Without it the keys, lighting effects and defaults of the model are unknown; going on
        // would report them as absent instead of naming the broken file.
        return CommandStatus::Failure(
            Format("model file %sdevice/%s.xml of model %d is missing or invalid",
                   m_setup.programFolder.c_str(), model->deviceAttr.c_str(), m_model));
    }
    if (!attached && m_setup.host == nullptr) {
        const CommandStatus offline = OpenStoreOffline();
        if (!offline.Ok()) return offline;
    }
    // The window tells its user about a database it moved aside.
    if (m_setup.host == nullptr) WarnAboutMovedStore();
    // A damaged database opens, but its profiles cannot be read.
    std::vector<ProfileRow> profiles;
    if (!m_store->IsOpened() || m_store->ListProfiles(profiles) <= 0 || Profile() == 0)
        return DatabaseFailure();
    EnsureLightRows(Profile());
    // The worker made sure of the profiles during the rescan; anything the store refused on
    // the way (a locked or read-only file) fails the command instead of showing stale rows.
    return StoreFailureSince(failures);
}

CommandStatus CliSession::OpenStoreOffline() {
    const CatalogueModel* model = Model();
    if (!m_store->OpenForModel(m_setup.dataFolder, model->deviceAttr)) {
        WarnAboutMovedStore();
        return DatabaseFailure();
    }
    const std::optional<std::array<bool, 6>> lightModes =
        m_definition.lightingPage ? std::optional(m_definition.lightModes) : std::nullopt;
    if (EnsureProfiles(
            *m_store, m_setup.programFolder, model->deviceAttr,
            [](int id) { return GetLanText(id); }, lightModes) == 0) {
        return CommandStatus::Failure(
            "the profiles of the database could not be read or "
            "completed: " +
            m_store->LastFailure());
    }
    return CommandStatus::Success();
}

CommandStatus CliSession::StoreFailureSince(unsigned mark) const {
    if (m_store->FailureCount() == mark) return CommandStatus::Success();
    return CommandStatus::Failure("the database refused the change: " + m_store->LastFailure());
}

void CliSession::WarnAboutMovedStore() {
    const std::string moved = m_store->TakeMovedAsidePath();
    if (moved.empty() || !m_setup.warn) return;
    m_setup.warn("the database was damaged; it was moved aside to " + moved +
                 " and a new one was created");
}

CommandStatus CliSession::DatabaseFailure() const {
    const CatalogueModel* model = Model();
    std::string reason = m_store->LastFailure();
    if (reason.empty()) reason = m_log.LastLineSince(0, "store: ");
    if (reason.empty()) reason = m_log.LastLineSince(0, "database: ");
    return CommandStatus::Failure(
        Format("the database of model %d (%s) in %s cannot be read (%s)", m_model,
               model != nullptr ? model->deviceAttr.c_str() : "?", m_setup.dataFolder.c_str(),
               reason.empty() ? "no reason logged" : reason.c_str()));
}

CommandStatus CliSession::StoreFailure(size_t mark, std::string fallback) const {
    if (m_log.LastLineSince(mark, "store: ").empty() &&
        m_log.LastLineSince(mark, "database: ").empty()) {
        return CommandStatus::Failure(std::move(fallback));
    }
    return DatabaseFailure();
}

void CliSession::EnsureLightRows(ProfileId profile) {
    // The lighting page creates a profile's effects the first time it shows it; a count that
    // could not be read (-1) is not an empty profile.
    if (!m_definition.lightingPage || m_store->CountLightRows(profile) != 0) return;
    InsertDefaultLightRows(*m_store, profile, m_definition.lightModes);
}

CommandStatus CliSession::Identify(int model) {
    // The window's worker identified its mice itself; its selection stays the window's.
    if (m_setup.host != nullptr) return CommandStatus::Success();
    m_remembered.model = model;
    // Every model counts as read in this run, so the rescan applies the identity without
    // copying the mouse's settings over the store; only "read" asks for that.
    m_worker->UpdateState([this](DeviceState& s) {
        for (const CatalogueModel& m : m_setup.catalogue.models) s.readModels.insert(m.deviceType);
    });
    return RunTask(DeviceTask::RebuildAndRead);
}

CommandStatus CliSession::RunTask(DeviceTask task) {
    if (m_definition.lightingPage && m_store->IsOpened()) {
        // The worker sends the effect the lighting page shows: the profile's active one.
        const int effect = m_store->GetActiveLightMode(Profile());
        m_worker->UpdateState([effect](DeviceState& s) { s.currentLightingEffect = effect; });
    }
    const unsigned failures = m_store->FailureCount();
    DeviceTaskResult result;
    if (m_setup.host != nullptr) {
        // Queued behind the window's own tasks; the worker hands back the outcome.
        auto outcome = std::make_shared<std::promise<DeviceTaskResult>>();
        std::future<DeviceTaskResult> done = outcome->get_future();
        m_worker->QueueTask(task, [outcome](const DeviceTaskResult& r) { outcome->set_value(r); });
        result = done.get();
    } else {
        result = m_worker->RunTask(task);
    }
    if (!result.ok) return CommandStatus::Failure(result.reason);
    return StoreFailureSince(failures);
}

std::optional<DeviceState> CliSession::IdentityOf(int model) {
    if (m_setup.host == nullptr) {
        Identify(model);
        return m_worker->State();
    }
    const DeviceState state = m_worker->State();
    if (state.selectedModel == model) return state;
    return std::nullopt;
}

std::string CliSession::ReportedFirmware() const {
    if (m_setup.host != nullptr && m_setup.host->firmwareVersion)
        return m_setup.host->firmwareVersion();
    return m_events.Reported().firmwareVersion;
}

}  // namespace kestrix
