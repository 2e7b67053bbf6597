// SPDX-License-Identifier: MIT
#include "editors/PerfLayout.h"

#include <cmath>

#include "ui/MControlFont.h"
#include "ui/MDialog.h"
#include "ui/MText.h"

namespace kestrix::perf_layout {
namespace {

constexpr int kHeadingColour = DUI::MakeColour(235, 235, 235);
constexpr int kTextColour = DUI::MakeColour(200, 200, 200);
constexpr int kSecondaryColour = DUI::MakeColour(150, 150, 150);

DUI::MText* MakeText(DUI::MDialog& owner, int id, DUI::MControl* parent, int size, int colour) {
    auto* text = owner.CreateControlAs<DUI::MText>("MText", id, {}, "", parent);
    if (text != nullptr) {
        text->SetFont(size);
        text->SetTextColor(colour);
    }
    return text;
}

}  // namespace

double Scale(const DUI::Rect& panel) {
    const double scale = static_cast<double>(panel.Height()) / kDesignPanelHeight;
    return scale > 0.0 ? scale : 1.0;
}

int S(int designPixels, double scale) {
    return static_cast<int>(std::lround(designPixels * scale));
}

DUI::MText* Heading(DUI::MDialog& owner, int id, DUI::MControl* parent) {
    return MakeText(owner, id, parent, 18, kHeadingColour);
}

DUI::MText* Label(DUI::MDialog& owner, int id, DUI::MControl* parent) {
    return MakeText(owner, id, parent, 14, kTextColour);
}

DUI::MText* Note(DUI::MDialog& owner, int id, DUI::MControl* parent, int alignment) {
    DUI::MText* text = MakeText(owner, id, parent, 13, kSecondaryColour);
    if (text != nullptr) text->SetAlignment(alignment);
    return text;
}

void SetTitle(DUI::MDialog& owner, int id, const std::string& title) {
    if (auto* control = owner.GetControlAs<DUI::MControlFont>(id)) control->SetTitle(title);
}

void Place(DUI::MDialog& owner, int id, const DUI::Rect& rect) {
    if (DUI::MControl* control = owner.GetControl(id)) control->SetRect(rect);
}

}  // namespace kestrix::perf_layout
