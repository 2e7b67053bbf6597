// SPDX-License-Identifier: MIT
#include "app/AccessibleNames.h"

#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/MControl.h"
#include "ui/MDialog.h"

namespace kestrix {
namespace {

// Control id and the language text that names it; most are the labels shown beside them.
struct AccessibleName {
    int controlId;
    int textId;
};

constexpr AccessibleName kNames[] = {
    {37, text::kLinkWebsite},         // logo
    {39, text::kAccessibleMinimize},  // window buttons
    {40, text::kAccessibleSettings},
    {41, text::kAccessibleMaximize},
    {45, text::kProfile},  // profile pop-up button
    {48, text::kAccessiblePages},
    {57, text::kAccessibleMice},
    {68, text::kTabButtons},  // button list
    {77, text::kMouseFunctions},
    {108, text::kTabButtons},  // the mouse picture with its buttons
    {116, text::kDpiStageCount},
    {117, text::kDpiFunctions},
    {125, text::kPollingRate},
    {139, text::kButtonResponseTime},
    {156, text::kMacroList},
    {166, text::kEventList},
    {178, text::kFixedDelay},
    {184, text::kRepeatCount},
    {190, text::kMoveUp},
    {191, text::kMoveDown},
    {204, text::kBrightness},
    {207, text::kSpeed},
    {255, text::kPointerSpeed},
    {261, text::kScrollLines},
    {264, text::kScrollLines},
    {268, text::kDoubleClickSpeed},
    {273, text::kAccessibleReturn},
};

}  // namespace

void ApplyAccessibleNames(DUI::MDialog& window) {
    for (const AccessibleName& name : kNames) {
        if (DUI::MControl* control = window.GetControl(name.controlId))
            control->SetAccessibleName(GetLanText(name.textId));
    }
}

}  // namespace kestrix
