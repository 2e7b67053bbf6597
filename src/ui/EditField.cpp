// SPDX-License-Identifier: MIT
#include "ui/EditField.h"

#include <QKeyEvent>

#include "ui/Theme.h"

namespace DUI {

EditField::EditField(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Text, Theme::kHeading);
    colours.setColor(QPalette::PlaceholderText, Theme::kSecondary);
    colours.setColor(QPalette::Highlight, Theme::WithAlpha(Theme::Accent(), 0.45));
    colours.setColor(QPalette::HighlightedText, Theme::kHeading);
    setPalette(colours);
    setStyleSheet(QStringLiteral("background: transparent; border: none;"));
}

void EditField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (parentWidget()) {
        parentWidget()->update();
    }
    if (onFocus) {
        onFocus(true);
    }
}

void EditField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (parentWidget()) {
        parentWidget()->update();
    }
    if (onFocus) {
        onFocus(false);
    }
}

void EditField::keyPressEvent(QKeyEvent* event) {
    if (onKey && onKey(event)) {
        return;
    }
    if (event->key() == Qt::Key_Escape && onEscape && onEscape()) {
        return;
    }
    QLineEdit::keyPressEvent(event);
    // Enter ends the edit here; it must not travel on to the control around the field.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
    }
}

}  // namespace DUI
