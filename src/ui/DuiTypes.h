// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// Plain value types shared by every part of the DUI toolkit. Nothing here needs Qt, so
// pages and dialogs written against DUI stay free of it.
namespace DUI {

// A rectangle in window (client) coordinates, right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    // Width (right - left); negative when the rectangle is inverted.
    int Width() const { return right - left; }
    // Height (bottom - top).
    int Height() const { return bottom - top; }
    // True when the point lies inside (right and bottom excluded).
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect&) const = default;
};

// A point in window or screen coordinates.
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Opaque, never reused identifier of a live toolkit window (0 = none). Safe to pass to other
// threads; PostWindowMessage to a destroyed window's handle is dropped.
using WindowHandle = std::uintptr_t;

// Colours are 24-bit integers with red in bits 0-7, green in 8-15 and blue in 16-23.
constexpr int MakeColour(int red, int green, int blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
// Red channel of a colour integer.
constexpr int ColourRed(int colour) { return colour & 0xFF; }
// Green channel of a colour integer.
constexpr int ColourGreen(int colour) { return (colour >> 8) & 0xFF; }
// Blue channel of a colour integer.
constexpr int ColourBlue(int colour) { return (colour >> 16) & 0xFF; }

// Window message numbers the toolkit itself sends to OnWindowMessage. Program messages
// (1690 tray, 1705 profile pop-up, ...) are delivered exactly as posted.
constexpr unsigned kWmDestroy = 0x0002;
constexpr unsigned kWmSize = 0x0005;
constexpr unsigned kWmClose = 0x0010;
constexpr unsigned kWmNcActivate = 0x0086;
constexpr unsigned kWmKeyDown = 0x0100;
constexpr unsigned kWmKeyUp = 0x0101;
constexpr unsigned kWmCommand = 0x0111;
constexpr unsigned kWmTimer = 0x0113;
constexpr unsigned kWmLButtonDown = 0x0201;    // tray: left press (513)
constexpr unsigned kWmLButtonDblClk = 0x0203;  // tray: double click (515)
constexpr unsigned kWmRButtonUp = 0x0205;      // tray: right release (517)
constexpr unsigned kWmUser = 0x0400;

// ShowWindow commands.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;
constexpr int kSwShowMaximized = 3;
constexpr int kSwShowNoActivate = 4;
constexpr int kSwShow = 5;
constexpr int kSwMinimize = 6;
constexpr int kSwRestore = 9;

// Window styles understood by MWindow::Create (others are accepted and ignored).
constexpr std::uint32_t kWsPopup = 0x80000000u;
constexpr std::uint32_t kWsVisible = 0x10000000u;
constexpr std::uint32_t kWsClipSiblings = 0x04000000u;
constexpr std::uint32_t kWsClipChildren = 0x02000000u;
// Extended styles.
constexpr std::uint32_t kWsExTopmost = 0x00000008u;
constexpr std::uint32_t kWsExToolWindow = 0x00000080u;
constexpr std::uint32_t kWsExLayered = 0x00080000u;
// A pop-up (menu, drop-down list) that closes itself when the user clicks elsewhere.
constexpr std::uint32_t kWsExPopupMenu = 0x08000000u;
// Never takes the keyboard focus (indicators); on Wayland a pop-up attached to its owner.
constexpr std::uint32_t kWsExNoActivate = 0x00010000u;
// Placed at its rectangle next to a control of its owner; on Wayland a pop-up of the owner
// (which closes when the user clicks elsewhere), since top-level windows cannot be placed.
constexpr std::uint32_t kWsExAnchored = 0x00020000u;

// Modal results of ShowModal.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Notification codes controls send to MDialog::OnMessage.
constexpr int kNotifyClick = 2;         // clicked, chosen or committed
constexpr int kNotifyMenu = 5;          // context menu requested (MacroList)
constexpr int kNotifyDragging = 8;      // slider moving (LightSlider, DPISlider)
constexpr int kNotifySecondary = 9;     // DPI colour swatch / record list context menu
constexpr int kNotifyTextChanged = 26;  // edit text changed by the user
constexpr int kNotifySelChanging = 27;  // palette selection changing
constexpr int kNotifyEditDone = 29;     // edit left / in-place rename finished
constexpr int kNotifyEditEnter = 30;    // edit entered (focus gained)

// Text alignment flags of MControlFont::SetAlignment. Text is centred vertically unless
// kAlignTop is given.
constexpr int kAlignLeft = 0x0;
constexpr int kAlignCenter = 0x1;
constexpr int kAlignRight = 0x2;
constexpr int kAlignVCenter = 0x4;
constexpr int kAlignTop = 0x8;
constexpr int kAlignWrap = 0x10;

// One key press or release of a focused toolkit window.
struct KeyEvent {
    int scanCode = 0;         // Linux evdev key code (KEY_A = 30); 0 when unknown
    bool pressed = true;      // true = press, false = release
    bool autoRepeat = false;  // true for the repeats of a held key
    std::string text;         // UTF-8 text the key produces, may be empty
};

// Evdev code of the Tab key (Shift+Tab too).
constexpr int kScanTab = 15;

}  // namespace DUI
