// SPDX-License-Identifier: MIT
#include "ui/ControlFactory.h"

#include <functional>
#include <unordered_map>

#include "ui/BatteryCtrl.h"
#include "ui/CArea.h"
#include "ui/CCheckButton.h"
#include "ui/CColorButton.h"
#include "ui/CDeviceList.h"
#include "ui/CDeviceState.h"
#include "ui/CHelpButton.h"
#include "ui/CIconButton.h"
#include "ui/CImageButton.h"
#include "ui/CRadioButton.h"
#include "ui/CRecordList.h"
#include "ui/CRoundArea.h"
#include "ui/CTextButton.h"
#include "ui/DListBox.h"
#include "ui/DPIControl.h"
#include "ui/DPISlider.h"
#include "ui/LightSlider.h"
#include "ui/MButton.h"
#include "ui/MButton2.h"
#include "ui/MButton3.h"
#include "ui/MComboBox.h"
#include "ui/MComboBox2.h"
#include "ui/MEdit.h"
#include "ui/MPalette.h"
#include "ui/MPicture.h"
#include "ui/MProgress.h"
#include "ui/MProgress2.h"
#include "ui/MTabCtrl.h"
#include "ui/MTabLayout.h"
#include "ui/MText.h"
#include "ui/MacroList.h"
#include "ui/MouseCtrl.h"
#include "ui/MouseKeyCtrl.h"
#include "ui/NumberEdit.h"
#include "ui/ReporteCtrl.h"

namespace DUI {

namespace {

template <class T>
std::unique_ptr<MControl> Make() {
    return std::make_unique<T>();
}

struct Entry {
    const char* name;
    std::unique_ptr<MControl> (*make)();
};

const Entry kControls[] = {
    {"MText", Make<MText>},
    {"MPicture", Make<MPicture>},
    {"MButton", Make<MButton>},
    {"MButton2", Make<MButton2>},
    {"MButton3", Make<MButton3>},
    {"CImageButton", Make<CImageButton>},
    {"CTextButton", Make<CTextButton>},
    {"CIconButton", Make<CIconButton>},
    {"CHelpButton", Make<CHelpButton>},
    {"CCheckButton", Make<CCheckButton>},
    {"CRadioButton", Make<CRadioButton>},
    {"CColorButton", Make<CColorButton>},
    {"MComboBox", Make<MComboBox>},
    {"MComboBox2", Make<MComboBox2>},
    {"MEdit", Make<MEdit>},
    {"NumberEdit", Make<NumberEdit>},
    {"MTabCtrl", Make<MTabCtrl>},
    {"MTabLayout", Make<MTabLayout>},
    {"CArea", Make<CArea>},
    {"CRoundArea", Make<CRoundArea>},
    {"MProgress", Make<MProgress>},
    {"MProgress2", Make<MProgress2>},
    {"MPalette", Make<MPalette>},
    {"DListBox", Make<DListBox>},
    {"CDeviceList", Make<CDeviceList>},
    {"CDeviceState", Make<CDeviceState>},
    {"BatteryCtrl", Make<BatteryCtrl>},
    {"DPIControl", Make<DPIControl>},
    {"DPISlider", Make<DPISlider>},
    {"LightSlider", Make<LightSlider>},
    {"ReporteCtrl", Make<ReporteCtrl>},
    {"MouseCtrl", Make<MouseCtrl>},
    {"MouseKeyCtrl", Make<MouseKeyCtrl>},
    {"MacroList", Make<MacroList>},
    {"CRecordList", Make<CRecordList>},
};

}  // namespace

std::unique_ptr<MControl> MakeControl(const std::string& className) {
    for (const Entry& entry : kControls) {
        if (className == entry.name) {
            return entry.make();
        }
    }
    return nullptr;
}

const std::vector<std::string>& ControlClassNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> result;
        for (const Entry& entry : kControls) {
            result.emplace_back(entry.name);
        }
        return result;
    }();
    return names;
}

}  // namespace DUI
