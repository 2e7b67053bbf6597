// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MDialog.h"

namespace DUI {
class CArea;
class MEdit;
class MPalette;
}  // namespace DUI

namespace kestrix {

// The modal colour chooser of a DPI stage's indicator colour: a palette, eight preset
// colours and red, green and blue fields with a preview. The result starts as the caller's
// colour, every choice replaces it, and the close button sets it to kNothingChosen (black,
// 0, is a colour that can be chosen like any other).
class MousePaletteDlg : public DUI::MDialog {
  public:
    // Window title other code finds the dialog by.
    static constexpr const char* kTitle = "PaletteDlg";
    // Window style WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN and size.
    static constexpr std::uint32_t kStyle = 0x96000000u;
    static constexpr int kWidth = 330;
    static constexpr int kHeight = 320;
    // What Choose returns when the dialog was closed without a choice (no colour is negative).
    static constexpr int kNothingChosen = -1;
    // Colour the preview shows before any choice.
    static constexpr int kInitialPreview = 0xD027FB;
    // The eight presets (the fifth and seventh are the same colour).
    static constexpr int kPresets[8] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF,
                                        0xFF00FF, 0xFFFF00, 0xFF00FF, 0xFFFFFF};

    // Control ids.
    static constexpr int kCloseId = 31;
    static constexpr int kPaletteId = 32;
    static constexpr int kPreviewId = 33;
    static constexpr int kRedLabelId = 34;
    static constexpr int kRedFieldId = 37;
    static constexpr int kGreenFieldId = 38;
    static constexpr int kBlueFieldId = 39;
    static constexpr int kFirstPresetId = 40;
    static constexpr int kConfirmId = 48;
    static constexpr int kHeadingId = 49;

    // initialColour is what the dialog returns when it is confirmed without a choice.
    explicit MousePaletteDlg(int initialColour);

    // Opens the dialog modally over owner (centred) with colour as the starting result and
    // returns the chosen colour, or kNothingChosen when it was closed without a choice or
    // could not be opened.
    static int Choose(DUI::MWindow* owner, int colour);

    // Creates the window (titled kTitle, kWidth x kHeight, centred on owner) without running
    // it; false when the toolkit could not make it.
    bool CreateWindow(DUI::MWindow* owner);
    // The current result colour (colour integer, red in bits 0-7); kNothingChosen after the
    // close button.
    int ResultColour() const { return m_result; }

    void InitUI(const DUI::Rect& rect) override;
    void UISize(const DUI::Rect& rect) override;
    void OnMessage(int id, int code, std::intptr_t param) override;
    void OnUserCloseWindow() override;

  private:
    // Places every control for a client area of width w and height h.
    void Place(int w, int h);
    // Writes the three channels of colour into the fields.
    void ShowChannels(int colour);
    // Makes colour the result and shows it in the preview.
    void SelectColour(int colour);
    // Clamps one field to 0..255 (rewriting it when the value changed); its value.
    int ClampField(int id);

    int m_result;
};

}  // namespace kestrix
