// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "ui/MControl.h"
#include "ui/RowScroller.h"

namespace DUI {

// "CDeviceList": one card per mouse model (picture, name, connection kind, on line/off
// line, battery, firmware version), keyed by model number. A click on a card selects it and
// sends code 2 with its model number. Off-line cards are faded; the selected card is
// outlined in the accent. Without cards it shows a mouse outline with the empty texts.
class CDeviceList : public MControl {
  public:
    // Adds a card (model number, name, picture skin image "device/x.png"); an existing
    // model's card is updated instead. Returns the card index.
    int AddDevice(int model, const std::string& name, const std::string& picture);
    // Removes every card.
    void DeleteAllDevices();
    // Number of cards.
    int GetCount() const;
    // Model number of card index, 0 when out of range.
    int GetDeviceModel(int index) const;
    // Connection kind (0 cable, 1 receiver) and state (1 on line, 0 off line) of a model's
    // card; false when the model has no card.
    bool SetDeviceState(int model, int mode, int state);
    // A short note in the status row of a model's card, shown instead of battery and version
    // ("" removes it); false when the model has no card.
    bool SetDeviceNote(int model, const std::string& note);
    // The note of a model's card ("" when none or no card).
    std::string GetDeviceNote(int model) const;
    // Sets the state of every card (SetAllDeviceState(0) before a rescan).
    void SetAllDeviceState(int state);
    // Battery of a model's card: charge state (1 = charging) and level in percent.
    bool SetDeviceBattery(int model, int chargeState, int level);
    // Firmware version of a model's card (shown as "v" + first hex digit + "." + last two).
    bool SetDeviceVersion(int model, int version);
    // Selects a model's card. When that card is missing or off line, the first on-line card
    // is selected instead, then the model's card, then the first card. Returns the model
    // now selected (0 with no cards). No notification.
    int SetSelectDevice(int model);
    // Model number of the selected card, 0 when none.
    int GetSelectDevice() const;
    // Number of cards on line.
    int GetOnlineDevCount() const;
    // State of a model's card (1 on line), -1 when the model has no card.
    int GetDeviceState(int model) const;
    // Highlights card index as hovered (-1 clears).
    void SetHighlight(int index);
    // The highlighted card index, -1 when none.
    int GetHighlight() const;
    // Scrolls by whole cards (negative = left); cards beyond the width are reached this way.
    void Scroll(int cards);
    // True when more cards exist than fit (scroll buttons are useful).
    bool CanScroll() const;
    // Texts shown when there are no cards (title and hint).
    void SetEmptyText(const std::string& title, const std::string& hint);
    // Clicks card index: selects it and sends code 2 with its model number.
    void ClickDevice(int index);

  protected:
    void Paint(QPainter& painter) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    void HoverChanged(bool hovered) override;
    void Wheel(QWheelEvent& event) override;
    bool AcceptsFocus() const override;
    bool KeyPress(QKeyEvent& event) override;

  private:
    struct Card {
        int model = 0;
        std::string name;
        std::string picture;
        int mode = 0;
        int state = 0;
        int chargeState = 0;
        int battery = -1;
        int version = 0;
        std::string note;
    };
    int IndexOf(int model) const;
    double CardHeight() const;
    int VisibleCards() const;
    int CardAt(int x, int y) const;
    void CardGeometry(int slot, double& x, double& y, double& w, double& h) const;
    std::vector<Card> m_cards;
    int m_selected = -1;
    RowScroller m_rows;  // first card on screen and the hovered card
    std::string m_emptyTitle;
    std::string m_emptyHint;
};

}  // namespace DUI
