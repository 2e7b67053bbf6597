// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "ui/MControl.h"

class QImage;
class QRectF;
class QPointF;

namespace DUI {

// "MPalette": a colour chooser. The field picks hue (left to right) and saturation (top
// full, bottom white); the strip below picks the value (brightness). Pressing or dragging
// sends code 27 for each change, releasing sends code 2. From the keyboard, Left/Right move
// the hue, Up/Down the saturation and Page Up/Page Down the brightness, each key sending
// code 27 and then code 2.
class MPalette : public MControl {
  public:
    MPalette();
    ~MPalette() override;
    // Moves the selection to a colour (colour integer); no notification.
    void SetSelectColor(int colour);
    // The selected colour (colour integer, red in bits 0-7).
    int GetSelectColor() const;

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;
    void Resized() override;

  private:
    enum class Drag { None, Field, Value };
    QRectF FieldRect() const;
    QRectF ValueRect() const;
    void PickAt(const QPointF& point);
    std::unique_ptr<QImage> m_field;
    double m_hue = 0.0;         // 0..1
    double m_saturation = 1.0;  // 0..1
    double m_value = 1.0;       // 0..1
    Drag m_drag = Drag::None;
};

}  // namespace DUI
