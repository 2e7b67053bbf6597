// SPDX-License-Identifier: MIT
#include "ui/TextFit.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

#include "ui/MControl.h"
#include "ui/MDialog.h"
#include "ui/Theme.h"

namespace DUI {
namespace {

CutTextObserver& Observer() {
    static CutTextObserver observer;
    return observer;
}

const MControl*& PaintingControl() {
    static const MControl* control = nullptr;
    return control;
}

void Report(const QString& text, qreal needed, qreal available) {
    CutText cut;
    if (const MControl* control = PaintingControl()) {
        cut.controlId = control->GetID();
        cut.className = control->GetClassName();
        if (control->GetOwner() != nullptr) cut.window = control->GetOwner()->GetTitle();
    }
    cut.text = text.toStdString();
    cut.needed = static_cast<int>(std::ceil(needed));
    cut.available = static_cast<int>(std::floor(available));
    Observer()(cut);
}

}  // namespace

void SetCutTextObserver(CutTextObserver observer) { Observer() = std::move(observer); }

namespace Theme {

void SetPaintingControl(const MControl* control) { PaintingControl() = control; }

void CheckTextFits(QPainter& painter, const QRectF& rect, const QString& text) {
    if (!Observer()) return;
    const qreal width = QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(text);
    if (width > rect.width() + 0.5) Report(text, width, rect.width());
}

void DrawControlText(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                     Elide elide) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    if (flags & Qt::TextWordWrap) {
        if (Observer()) {
            const QRectF needed = metrics.boundingRect(rect, flags, text);
            // Half a pixel of slack: a line box rounding up is not a cut.
            if (needed.height() > rect.height() + 0.5) Report(text, needed.height(), rect.height());
        }
        painter.drawText(rect, flags, text);
        return;
    }
    const qreal width = metrics.horizontalAdvance(text);
    if (width <= rect.width() + 0.5) {
        painter.drawText(rect, flags, text);
        return;
    }
    if (elide == Elide::Fault && Observer()) Report(text, width, rect.width());
    painter.drawText(rect, flags, metrics.elidedText(text, Qt::ElideRight, rect.width()));
}

}  // namespace Theme
}  // namespace DUI
