// SPDX-License-Identifier: MIT
#include "cli/CliSession.h"

#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "platform/LanguageTexts.h"
#include "rules/EnsureProfiles.h"
#include "store/DefaultLightRows.h"

namespace kestrix {

CliSession::CliSession(SessionSetup setup)
    : m_setup(std::move(setup)), m_manager(std::make_unique<HidDeviceManager>(m_setup.backend)) {}

CliSession::~CliSession() {
    m_worker.reset();
    m_store.Close();
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

CommandStatus CliSession::Open(SessionNeed need) {
    DeviceWorkerConfig config;
    config.catalogueLines = m_setup.catalogue.lines;
    config.programFolder = m_setup.programFolder;
    // Without a data folder the worker leaves the store closed: the device list needs none.
    config.dataFolder = need == SessionNeed::Devices ? std::string() : m_setup.dataFolder;
    config.registry = &m_remembered;
    config.getLanText = [](int id) { return GetLanText(id); };
    m_worker = std::make_unique<DeviceWorker>(*m_manager, m_store, m_events, std::move(config));

    const int requested = m_setup.requestedModel;
    const CommandStatus identified = Identify(requested);
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
    if (need == SessionNeed::Mouse && !attached) {
        if (requested != 0)
            return CommandStatus::Failure(Format("model %d is not attached", requested));
        // A receiver whose mouse is off answers nothing, so it stays without a model.
        if (m_manager->EntryCount() > 0) {
            return CommandStatus::Failure(
                "the attached receiver's mouse does not answer (switched off or out of range)");
        }
        return CommandStatus::Failure("no supported mouse is attached");
    }
    if (need == SessionNeed::Mouse && !m_mouseOnline) {
        return CommandStatus::Failure(
            identified.Ok()
                ? "the mouse does not answer (switched off or out of range of its receiver)"
                : identified.message);
    }
    if (m_model == 0) {
        return CommandStatus::Failure(
            "no supported mouse is attached; name the model with --model N to work on its stored "
            "profiles");
    }
    const CatalogueModel* model = Model();
    if (model == nullptr)
        return CommandStatus::Failure(Format("model %d is not in the catalogue", m_model));
    if (!LoadDeviceDefinition(m_setup.programFolder, model->deviceAttr, m_definition)) {
        LogLine("model file of %s could not be read", model->deviceAttr.c_str());
    }
    if (!attached) {
        const CommandStatus offline = OpenStoreOffline();
        if (!offline.Ok()) return offline;
    }
    if (!m_store.IsOpened()) return DatabaseFailure();
    EnsureLightRows(Profile());
    return CommandStatus::Success();
}

CommandStatus CliSession::OpenStoreOffline() {
    const CatalogueModel* model = Model();
    if (!m_store.OpenForModel(m_setup.dataFolder, model->deviceAttr)) return DatabaseFailure();
    EnsureProfiles(m_store, m_setup.programFolder, model->deviceAttr,
                   [](int id) { return GetLanText(id); });
    return CommandStatus::Success();
}

CommandStatus CliSession::DatabaseFailure() const {
    const CatalogueModel* model = Model();
    return CommandStatus::Failure(
        Format("the database of model %d (%s) could not be opened in %s", m_model,
               model != nullptr ? model->deviceAttr.c_str() : "?", m_setup.dataFolder.c_str()));
}

void CliSession::EnsureLightRows(ProfileId profile) {
    // The lighting page creates a profile's effects the first time it shows it.
    if (!m_definition.lightingPage || m_store.CountLightRows(profile) >= 1) return;
    InsertDefaultLightRows(m_store, profile, m_definition.lightModes);
}

CommandStatus CliSession::Identify(int model) {
    m_remembered.model = model;
    // Every model counts as read in this run, so the rescan applies the identity without
    // copying the mouse's settings over the store; only "read" asks for that.
    m_worker->UpdateState([this](DeviceState& s) {
        for (const CatalogueModel& m : m_setup.catalogue.models) s.readModels.insert(m.deviceType);
    });
    return RunTask(DeviceTask::RebuildAndRead);
}

CommandStatus CliSession::RunTask(DeviceTask task) {
    if (m_definition.lightingPage && m_store.IsOpened()) {
        // The worker sends the effect the lighting page shows: the profile's active one.
        const int effect = m_store.GetActiveLightMode(Profile());
        m_worker->UpdateState([effect](DeviceState& s) { s.currentLightingEffect = effect; });
    }
    const DeviceTaskResult result = m_worker->RunTask(task);
    if (!result.ok) return CommandStatus::Failure(result.reason);
    return CommandStatus::Success();
}

}  // namespace kestrix
