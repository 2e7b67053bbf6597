// SPDX-License-Identifier: MIT
#include "app/MainLayout.h"

#include <algorithm>
#include <cmath>

namespace kestrix {
namespace {

constexpr int kTitleBand = 64;
constexpr int kTabBottom = 124;
constexpr int kColumnWidth = 300;
constexpr int kMargin = 24;
constexpr int kStatusTop = 38;
constexpr int kStatusBottom = 12;
constexpr int kBodyTop = 140;
constexpr int kBodyBottom = 50;
constexpr int kSettingsColumn = 640;  // width of the centred settings column
constexpr int kSettingsLabel = 240;   // labels on the left of the column

}  // namespace

MainLayout::MainLayout(int width, int height)
    : m_width(std::max(width, 1)),
      m_height(std::max(height, 1)),
      // A window narrower than the design's proportions scales down with its width, so the
      // controls near the right edge never run into those on the left.
      m_scale(std::min(static_cast<double>(m_height) / kDesignHeight,
                       static_cast<double>(m_width) / kDesignWidth)) {}

int MainLayout::S(int designLength) const {
    return static_cast<int>(std::lround(designLength * m_scale));
}

DUI::Rect MainLayout::InitialWindowRect(const DUI::Rect& workArea) {
    const int areaWidth = std::max(workArea.Width(), 1);
    const int areaHeight = std::max(workArea.Height(), 1);
    int width = 0;
    int height = 0;
    // Integer arithmetic, so a 768 px high area gives exactly 768 px.
    if (static_cast<long>(areaWidth) * kDesignHeight >=
        static_cast<long>(areaHeight) * kDesignWidth) {
        height = std::min(kDesignHeight, areaHeight);
        width = height * kDesignWidth / kDesignHeight;
    } else {
        width = std::min(kDesignWidth, areaWidth);
        height = width * kDesignHeight / kDesignWidth;
    }
    const int left = workArea.left + (areaWidth - width) / 2;
    const int top = workArea.top + (areaHeight - height) / 2;
    return {left, top, left + width, top + height};
}

DUI::Rect MainLayout::Logo() const { return {S(kMargin), S(16), S(kMargin + 32), S(48)}; }
DUI::Rect MainLayout::ProgramName() const { return {S(66), S(14), S(166), S(50)}; }
DUI::Rect MainLayout::Caption() const { return {S(170), S(16), S(520), S(48)}; }

DUI::Rect MainLayout::WindowButton(int id) const {
    // Minimise, maximise and close fill the 114 px at the right edge; settings sits apart.
    int right = m_width - S(6);
    switch (id) {
        case 38:
            break;
        case 41:
            right -= S(36);
            break;
        case 39:
            right -= S(72);
            break;
        case 40:
            right -= S(118);
            break;
        default:
            return {};
    }
    return {right - S(36), S(14), right, S(50)};
}

DUI::Rect MainLayout::TabStrip() const {
    return {S(kColumnWidth), S(kTitleBand), m_width - S(kMargin), S(kTabBottom)};
}

DUI::Rect MainLayout::DeviceColumn() const {
    return {S(kMargin), S(kBodyTop), S(kColumnWidth - 16), m_height - S(kBodyBottom)};
}

DUI::Rect MainLayout::MousePicture() const {
    const DUI::Rect column = DeviceColumn();
    return {column.left + S(24), column.top + S(24), column.right - S(24), column.bottom - S(230)};
}

DUI::Rect MainLayout::ProfileLabel() const {
    const DUI::Rect column = DeviceColumn();
    return {column.left + S(24), column.bottom - S(206), column.right - S(64),
            column.bottom - S(170)};
}

DUI::Rect MainLayout::ProfileButton() const {
    const DUI::Rect column = DeviceColumn();
    return {column.right - S(60), column.bottom - S(206), column.right - S(24),
            column.bottom - S(170)};
}

// The current stage right under the profile; the battery (receiver only) last.
DUI::Rect MainLayout::StageSwatch() const {
    const DUI::Rect column = DeviceColumn();
    return {column.left + S(24), column.bottom - S(132), column.left + S(48),
            column.bottom - S(108)};
}

DUI::Rect MainLayout::StageText() const {
    const DUI::Rect column = DeviceColumn();
    return {column.left + S(60), column.bottom - S(144), column.right - S(24),
            column.bottom - S(96)};
}

DUI::Rect MainLayout::Battery() const {
    const DUI::Rect column = DeviceColumn();
    return {column.left + S(24), column.bottom - S(70), column.right - S(24),
            column.bottom - S(38)};
}

DUI::Rect MainLayout::PagePanel() const {
    return {S(kColumnWidth), S(kBodyTop), m_width - S(kMargin), m_height - S(kBodyBottom)};
}

DUI::Rect MainLayout::PageTitle() const { return {S(24), S(16), S(600), S(52)}; }

DUI::Rect MainLayout::VersionLabel() const {
    return {S(kMargin), m_height - S(kStatusTop), S(500), m_height - S(kStatusBottom)};
}

DUI::Rect MainLayout::FirmwareLabel() const {
    return {m_width - S(kMargin + 300), m_height - S(kStatusTop), m_width - S(kMargin),
            m_height - S(kStatusBottom)};
}

DUI::Rect MainLayout::HomeHeading() const {
    return {S(120), S(kTitleBand + 24), m_width - S(120), S(kTitleBand + 64)};
}

DUI::Rect MainLayout::DeviceList() const {
    // Cards are at most 360 px high; the list is as high as one card row with its margin.
    const int middle = (S(kTitleBand) + m_height - S(kBodyBottom)) / 2;
    return {S(120), middle - S(188), m_width - S(120), middle + S(188)};
}

DUI::Rect MainLayout::ScrollButton(int id) const {
    const DUI::Rect list = DeviceList();
    const int middle = (list.top + list.bottom) / 2;
    if (id == 60) return {list.left - S(64), middle - S(24), list.left - S(16), middle + S(24)};
    return {list.right + S(16), middle - S(24), list.right + S(64), middle + S(24)};
}

DUI::Rect MainLayout::NoDevicePanel() const {
    const int middle = m_width / 2;
    const int top = (m_height - S(420)) / 2;
    return {middle - S(260), top, middle + S(260), top + S(420)};
}

DUI::Rect MainLayout::NoDevicePicture() const { return {S(180), S(40), S(340), S(270)}; }
DUI::Rect MainLayout::NoDeviceTitle() const { return {0, S(296), S(520), S(336)}; }
DUI::Rect MainLayout::NoDeviceHint() const { return {0, S(340), S(520), S(372)}; }

DUI::Rect MainLayout::SettingsPage() const {
    return {S(kMargin), S(kTitleBand + 8), m_width - S(kMargin), m_height - S(kBodyBottom)};
}

DUI::Rect MainLayout::Column(int left, int top, int right, int bottom) const {
    const int columnLeft = m_width / 2 - S(kSettingsColumn / 2);
    const DUI::Rect page = SettingsPage();
    return {columnLeft + S(left), page.top + S(top), columnLeft + S(right), page.top + S(bottom)};
}

DUI::Rect MainLayout::SettingsControl(int id) const {
    const int value = kSettingsLabel;
    switch (id) {
        case 272:
            return SettingsPage();
        case 273: {
            const DUI::Rect page = SettingsPage();
            return {page.left + S(16), page.top + S(16), page.left + S(56), page.top + S(56)};
        }
        case 278:
            return Column(0, 48, value, 88);
        case 279:
            return Column(value, 48, value + 300, 88);
        case 280:
            return Column(0, 120, value, 152);
        case 281:
            return Column(value, 120, kSettingsColumn, 152);
        case 282:
            return Column(value, 160, kSettingsColumn, 192);
        case 283:
            return Column(0, 216, kSettingsColumn, 218);
        case 285:
            return Column(0, 240, value, 272);
        case 286:
            return Column(value, 240, kSettingsColumn, 272);
        case 287:
            return Column(value, 280, kSettingsColumn, 312);
        case 284:
            return Column(0, 336, kSettingsColumn, 338);
        case 274:
            return Column(0, 360, value, 396);
        case 275:
            return Column(value, 360, value + 240, 396);
        case 276:
            return Column(kSettingsColumn - 140, 360, kSettingsColumn, 396);
        case 292:
            return Column(value, 404, kSettingsColumn, 436);
        case 277:
            return Column(value, 448, value + 200, 484);
        case 288:
            return Column(0, 496, value, 528);
        case 289:
            return Column(value, 496, value + 130, 528);
        case 290:
            return Column(value + 135, 496, value + 265, 528);
        case 291:
            return Column(value + 270, 496, value + 400, 528);
        case 293:
            return Column(0, 544, value, 576);
        case 294:
            return Column(value, 544, value + 160, 576);
        default:
            return {};
    }
}

}  // namespace kestrix
