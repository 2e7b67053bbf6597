// SPDX-License-Identifier: MIT
#include "app/ProfileActions.h"

#include <filesystem>
#include <string>

#include "app/AppContext.h"
#include "app/CUIMessageBox.h"
#include "app/DeviceMainDlg.h"
#include "app/ProfileDlg.h"
#include "device/DeviceState.h"
#include "device/DeviceTask.h"
#include "device/DeviceWorker.h"
#include "exchange/ProfileFile.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "store/DefaultLightRows.h"
#include "ui/MControl.h"

namespace kestrix {

using namespace frame_id;

ProfileActions::ProfileActions(DeviceMainDlg& window, AppContext& context)
    : m_window(window), m_context(context) {}

void ProfileActions::OpenMenu() {
    if (!m_window.MouseOnLine()) {
        ShowMessageBox(kMessageBoxOk, GetLanText(text::kMouseOffline),
                       GetLanText(text::kCheckConnection), &m_window);
        return;
    }
    DUI::MControl* button = m_window.GetControl(kProfileButton);
    DUI::Rect anchor = button != nullptr ? button->GetRect() : DUI::Rect{};
    if (DUI::MControl* label = m_window.GetControl(kProfileLabel))
        anchor.left = label->GetRect().left;
    m_window.ClientToScreen(anchor);
    ProfileDlg::ShowAbove(m_window, anchor, *m_context.store, m_window.CurrentProfile());
}

void ProfileActions::SwitchTo(ProfileId profile) {
    DataStore& store = *m_context.store;
    // A switch the store refused sends nothing: the mouse keeps the profile the store holds
    // (the store's failure box tells the user why).
    if (!store.SetActiveProfile(profile)) return;
    store.SetCurrentProfile(profile);
    m_window.Column().ShowProfileTitle();
    const DeviceDefinition& definition = m_window.Definition();
    if (definition.lightingPage) {
        // The write sends the effect the worker holds, which is still the old profile's: give
        // it the new profile's active effect, making the profile's effect rows first when it
        // never had any (as the lighting page does when it first shows a profile).
        if (store.CountLightRows(profile) < 1)
            InsertDefaultLightRows(store, profile, definition.lightModes);
        const int effect = store.GetActiveLightMode(profile);
        if (DeviceWorker* worker = m_window.Worker())
            worker->UpdateState([effect](DeviceState& s) { s.currentLightingEffect = effect; });
    }
    // The write refreshes the pages first, so the lighting page shows what the mouse gets.
    m_window.QueueTask(DeviceTask::WriteAll);
}

void ProfileActions::OnChoice(std::uintptr_t action, std::intptr_t profile) {
    DataStore& store = *m_context.store;
    const bool lighting = m_window.Definition().lightingPage;
    switch (action) {
        case 0:
            SwitchTo(static_cast<ProfileId>(profile));
            break;
        case 1: {
            const std::string path =
                m_window.ChooseFile(FileDialogKind::Open, "MouseKey (*.xml)", "*.xml");
            if (path.empty() || !std::filesystem::exists(path)) return;
            // The file's values are held to the ranges the pages offer for this mouse.
            SettingLimits limits;
            if (DeviceWorker* worker = m_window.Worker()) {
                const DeviceState state = worker->State();
                limits.sensorCode = state.sensorCode;
                limits.reportRateClass = state.reportRateClass;
            }
            const ProfileImportResult result =
                ImportProfile(store, m_window.CurrentProfile(), path, lighting, limits,
                              [this](DeviceTask task) { m_window.QueueTask(task); });
            if (result.imported) {
                m_window.Column().ShowProfileTitle();
            } else if (!result.refusal.empty()) {
                // A value outside the mouse's ranges: nothing was stored or sent.
                ShowMessageBox(kMessageBoxOk, GetLanText(text::kImportRefused), result.refusal,
                               &m_window);
            }
            break;
        }
        case 2: {
            const std::string path =
                m_window.ChooseFile(FileDialogKind::Save, "Profile (*.xml)", "*.xml");
            if (path.empty()) return;
            ExportProfile(store, static_cast<ProfileId>(profile), path, lighting,
                          [](const std::string& name) { return ExportedProfileName(name); });
            break;
        }
        default:
            break;
    }
}

}  // namespace kestrix
