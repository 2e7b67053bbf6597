// SPDX-License-Identifier: MIT
#include "app/ModelChoice.h"

#include "app/AppContext.h"
#include "app/CUIMessageBox.h"
#include "app/DeviceMainDlg.h"
#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "device/DeviceWorker.h"
#include "device/HidDeviceManager.h"
#include "platform/AppRegistry.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/CDeviceList.h"

namespace kestrix {

namespace {

// Model name used when "DeviceType" names no catalogue model.
constexpr char kFallbackModelName[] = "Kestrix";

}  // namespace

ModelChoice::ModelChoice(DeviceMainDlg& window, AppContext& context)
    : m_window(window), m_context(context) {}

void ModelChoice::OnChosen(std::intptr_t param) {
    auto* list = m_window.GetControlAs<DUI::CDeviceList>(frame_id::kDeviceList);
    int model = static_cast<int>(param);
    if (model <= 0 && list != nullptr) model = list->GetSelectDevice();
    HidDeviceManager& devices = *m_context.devices;
    // 1. Only an identified mouse on line can be worked on.
    if (model <= 0 || !devices.IsIdentified(model)) {
        ShowMessageBox(kMessageBoxOk, GetLanText(text::kCheckConnection),
                       GetLanText(text::kDeviceNotIdentified), &m_window);
        return;
    }
    // 2. A new selection switches the pages to the model and opens its database.
    if (model != m_chosen) {
        m_chosen = model;
        devices.SetSelectedModel(model);
        m_context.registry->WriteAppRegistryString(kDeviceTypeValue, Format("%d", model));
        m_window.LoadModel(model);
        if (const CatalogueModel* entry = m_window.ModelOf(model)) {
            if (!m_context.store->OpenForModel(m_context.dataFolder, entry->deviceAttr)) {
                LogLine("database of model %d (%s) could not be opened", model,
                        entry->deviceAttr.c_str());
            }
        }
        if (DeviceWorker* worker = m_window.Worker()) {
            const bool lighting = m_window.Definition().lightingPage;
            worker->UpdateState([model, lighting](DeviceState& s) {
                s.selectedModel = model;
                s.lightingPage = lighting;
            });
        }
    }
    // 3. Through a receiver the mouse is read again; by cable it already was.
    if (devices.GetConnectionKind() == ConnectionKind::Receiver) {
        m_window.SetCaption(text::kCaptionWireless);
        m_window.QueueTask(DeviceTask::ReadWithRefresh);
    } else {
        m_window.SetCaption(text::kCaptionWired);
    }
    // 4. The device pages, buttons first.
    m_window.OpenDevicePages();
}

void ModelChoice::ResetToDefaults() {
    if (!m_window.MouseOnLine()) {
        ShowMessageBox(kMessageBoxOk, GetLanText(text::kMouseOffline),
                       GetLanText(text::kCheckConnection), &m_window);
        return;
    }
    if (ShowMessageBox(kMessageBoxYesNo, GetLanText(text::kFactoryResetTitle),
                       GetLanText(text::kFactoryResetText), &m_window) != DUI::kIdOk) {
        return;
    }
    const int deviceType = m_context.registry->ReadAppRegistryInt(kDeviceTypeValue);
    const CatalogueModel* model = m_window.ModelOf(deviceType);
    LogLine("restoring factory settings of %s",
            model != nullptr ? model->name.c_str() : kFallbackModelName);
    m_window.QueueTask(DeviceTask::RestoreFactory);
}

}  // namespace kestrix
