// SPDX-License-Identifier: MIT
#include "ui/MPicture.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

MPicture::MPicture() = default;

void MPicture::SetStretch(bool stretch) {
    m_stretch = stretch;
    Invalidate();
}

void MPicture::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    const std::string& name = GetImage();
    const QPixmap image = Theme::SkinImage(name, painter.device()->devicePixelRatioF());
    if (!image.isNull()) {
        if (m_stretch) {
            Theme::DrawNineSlice(painter, area, image, 12);
        } else {
            Theme::DrawFitted(painter, area, image);
        }
        return;
    }
    if (name.empty()) {
        return;
    }
    const QString lower = QString::fromStdString(name).toLower();
    if (lower.contains("device") || lower.contains("mouse")) {
        Theme::DrawMouseSilhouette(painter, area.adjusted(8, 8, -8, -8), QColor(58, 58, 64),
                                   Theme::Accent());
    } else if (lower.contains("logo")) {
        Theme::DrawGlyph(painter, QRectF(area.left(), area.top(), area.height(), area.height()),
                         "logo", Theme::Accent(), 1.8);
    } else {
        Theme::DrawPanel(painter, area, Theme::kPanel, Theme::kPanelBorder, 8);
    }
}

void MPicture::MousePress(QMouseEvent& event) { event.ignore(); }

bool MPicture::TransparentForMouse() const { return true; }

}  // namespace DUI
