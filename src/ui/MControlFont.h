// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MControl.h"

class QFont;
class QColor;

namespace DUI {

// A control that shows a text: title, font size, family, weight, alignment and colour.
class MControlFont : public MControl {
  public:
    MControlFont();
    ~MControlFont() override;

    // Sets the text (UTF-8) and repaints.
    void SetTitle(const std::string& title);
    // The text.
    const std::string& GetTitle() const;
    // The accessible name, else the title, else the tool tip.
    std::string AccessibleName() const override;
    // Font size in pixels (14 by default).
    void SetFont(int pixelSize);
    // The font size in pixels.
    int GetFontSize() const;
    // Font family for this control ("" = the toolkit's).
    void SetFontName(const std::string& family);
    // Font weight: 400 normal, 600 semibold (default), 700 bold.
    void SetFontWidth(int weight);
    // kAlignLeft / kAlignCenter / kAlignRight, or-ed with kAlignTop and kAlignWrap.
    void SetAlignment(int flags);
    // The alignment flags.
    int GetAlignment() const;
    // Text colour as a colour integer; -1 returns to the theme colour.
    void SetTextColor(int colour);

  protected:
    // The control's font.
    QFont Font() const;
    // The text colour: the one set, or fallback.
    QColor TextColour(const QColor& fallback) const;
    // Qt alignment flags of GetAlignment.
    int QtAlignment() const;
    // Called after the text or how it is drawn changed (SetTitle, font, alignment).
    virtual void TitleChanged();
    // Records the text without calling TitleChanged (edits mirroring what the user typed).
    void StoreTitle(const std::string& title);

  private:
    std::string m_title;
    std::string m_fontName;
    int m_fontSize = 14;
    int m_weight = 600;
    int m_alignment = kAlignLeft;
    int m_textColour = -1;
};

}  // namespace DUI
