// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace DUI {
class MDialog;
}

namespace kestrix {

class MainLayout;
struct ViewVisibility;

// Frame control ids of the main window.
namespace frame_id {
inline constexpr int kLogo = 37;  // opens the website link
inline constexpr int kClose = 38;
inline constexpr int kMinimise = 39;
inline constexpr int kSettings = 40;
inline constexpr int kMaximise = 41;
inline constexpr int kProfileButton = 45;
inline constexpr int kResetDefaults = 46;
inline constexpr int kTabs = 48;
inline constexpr int kDeviceList = 57;
inline constexpr int kListPrevious = 60;
inline constexpr int kListNext = 61;
inline constexpr int kDpiStageControl = 116;
inline constexpr int kMouseSettings = 149;
inline constexpr int kFirmwareCheck = 248;  // the firmware label of the status line
inline constexpr int kVersionCheck = 249;
inline constexpr int kResetDefaults2 = 250;
inline constexpr int kProgramName = 801;
inline constexpr int kCaption = 802;
inline constexpr int kDeviceColumn = 803;
inline constexpr int kMousePicture = 804;
inline constexpr int kProfileLabel = 805;
inline constexpr int kBattery = 806;
inline constexpr int kStageSwatch = 807;
inline constexpr int kStageText = 808;
inline constexpr int kVersionLabel = 809;
inline constexpr int kHomeHeading = 810;
inline constexpr int kNoDevicePanel = 811;
inline constexpr int kNoDevicePicture = 812;
inline constexpr int kNoDeviceTitle = 813;
inline constexpr int kNoDeviceHint = 814;
// Page panel of a tab: kPagePanelBase + item id; its title: kPageTitleBase + item id.
inline constexpr int kPagePanelBase = 900;
inline constexpr int kPageTitleBase = 950;
}  // namespace frame_id

// One tab of the strip: its item id, text id and icon.
struct TabItem {
    int itemId;
    int textId;
    const char* icon;
};
// The six tabs in their order; index = position in the strip.
extern const TabItem kTabItems[6];

// Builds the controls of the frame itself (title band, home list, no-device panel, tab strip,
// device column, page panels, status line) without texts or places; the settings page and
// the editor pages add their own.
void CreateFrameControls(DUI::MDialog& window, const MainLayout& layout,
                         const std::string& programName);
// Places the frame's controls for a layout.
void LayoutFrameControls(DUI::MDialog& window, const MainLayout& layout);
// Shows the frame's controls a view asks for; battery: the device column shows the battery
// (a mouse behind its receiver); lightingTab: the model has a lighting page.
void ShowFrameControls(DUI::MDialog& window, const ViewVisibility& view, bool battery,
                       bool lightingTab);
// Sets the frame's texts in the current language: tab names and page titles, program name,
// caption (a text id), the no-device panel, the version label and the close button's tip.
void SetFrameTexts(DUI::MDialog& window, const std::string& programName, int captionId,
                   const std::string& version);
// True for the controls of the frame and the settings page; every other id belongs to an
// editor page.
bool IsFrameControl(int id);

// The no-device panel's hint: the connection hint, or the fix when a supported mouse's node
// could not be opened for lack of permission (no udev rule).
void SetNoDeviceHint(DUI::MDialog& window, const std::vector<std::string>& deniedPaths);

}  // namespace kestrix
