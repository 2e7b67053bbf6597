// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControl.h"

class QRectF;

namespace DUI {

// Common part of the toolkit's sliders: an integer value in [minimum, maximum] picked on a
// horizontal track. Dragging sends code 8 with the value whenever it changes; releasing
// sends code 2 with the value. Left/Right (and Page keys by a tenth) step and send code 2.
class SliderCtrl : public MControl {
  public:
    // Sets the range (the value is clamped into it).
    void SetRange(int minimum, int maximum);
    // Lowest value.
    int GetMin() const;
    // Highest value.
    int GetMax() const;
    // Sets the value, clamped; no notification.
    void SetValue(int value);
    // The value.
    int GetValue() const;
    // Moves to value as a finished drag would: code 8 (when changed), then code 2.
    void DragTo(int value);

  protected:
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    void Wheel(QWheelEvent& event) override;
    bool AcceptsFocus() const override;
    // The track's left and right ends in control coordinates (x), and its centre line (y).
    virtual QRectF TrackRect() const = 0;
    // Fraction 0..1 of the value along the track.
    double Fraction() const;
    // True while the thumb is dragged.
    bool IsDragging() const;
    // Paints a track with the accent fill up to the thumb, and the thumb.
    void PaintTrack(QPainter& painter, const QRectF& track, bool withStops);

  private:
    int ValueAt(double x) const;
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
    bool m_dragging = false;
};

}  // namespace DUI
