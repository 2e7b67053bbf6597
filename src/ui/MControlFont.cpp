// SPDX-License-Identifier: MIT
#include "ui/MControlFont.h"

#include <QColor>
#include <QFont>

#include "ui/Theme.h"

namespace DUI {

MControlFont::MControlFont() = default;

MControlFont::~MControlFont() = default;

void MControlFont::SetTitle(const std::string& title) {
    if (title == m_title) {
        return;
    }
    m_title = title;
    TitleChanged();
    Invalidate();
}

std::string MControlFont::AccessibleName() const {
    const std::string own = MControl::AccessibleName();
    // An explicit name wins; a title says more than a tool tip.
    if (!own.empty() && own != GetToolTip()) return own;
    return GetTitle().empty() ? own : GetTitle();
}

const std::string& MControlFont::GetTitle() const { return m_title; }

void MControlFont::SetFont(int pixelSize) {
    m_fontSize = pixelSize > 0 ? pixelSize : 14;
    TitleChanged();
    Invalidate();
}

int MControlFont::GetFontSize() const { return m_fontSize; }

void MControlFont::SetFontName(const std::string& family) {
    m_fontName = family;
    TitleChanged();
    Invalidate();
}

void MControlFont::SetFontWidth(int weight) {
    m_weight = weight > 0 ? std::clamp(weight, 100, 900) : 400;
    TitleChanged();
    Invalidate();
}

void MControlFont::SetAlignment(int flags) {
    m_alignment = flags;
    // Controls that draw their text through a child widget (MEdit) apply it there.
    TitleChanged();
    Invalidate();
}

int MControlFont::GetAlignment() const { return m_alignment; }

void MControlFont::SetTextColor(int colour) {
    m_textColour = colour;
    Invalidate();
}

QFont MControlFont::Font() const { return Theme::MakeFont(m_fontSize, m_weight, m_fontName); }

QColor MControlFont::TextColour(const QColor& fallback) const {
    return m_textColour < 0 ? fallback : Theme::FromColourInt(m_textColour);
}

int MControlFont::QtAlignment() const {
    int flags = 0;
    if (m_alignment & kAlignCenter) {
        flags |= Qt::AlignHCenter;
    } else if (m_alignment & kAlignRight) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    flags |= (m_alignment & kAlignTop) ? Qt::AlignTop : Qt::AlignVCenter;
    if (m_alignment & kAlignWrap) {
        flags |= Qt::TextWordWrap;
    }
    return flags;
}

void MControlFont::TitleChanged() {}

void MControlFont::StoreTitle(const std::string& title) { m_title = title; }

}  // namespace DUI
