// SPDX-License-Identifier: MIT
#include "ui/MEdit.h"

#include <QPainter>
#include <QRegularExpressionValidator>

#include "base/Text.h"
#include "ui/EditField.h"
#include "ui/Theme.h"

namespace DUI {

MEdit::MEdit() = default;

MEdit::~MEdit() {
    // The field can outlive this object until the event loop deletes it; cut it loose.
    if (Widget() && m_field) {
        m_field->onFocus = nullptr;
        m_field->onKey = nullptr;
        m_field->onEscape = nullptr;
        QObject::disconnect(m_field, &QLineEdit::textEdited, nullptr, nullptr);
        QObject::disconnect(m_field, &QLineEdit::textChanged, nullptr, nullptr);
        QObject::disconnect(m_field, &QLineEdit::returnPressed, nullptr, nullptr);
    }
}

void MEdit::OnCreated() {
    m_field = new EditField(Widget());
    m_field->setFont(Font());
    m_field->setText(QString::fromStdString(GetTitle()));
    m_field->setAlignment(
        static_cast<Qt::Alignment>((QtAlignment() & ~Qt::AlignVertical_Mask) | Qt::AlignVCenter));
    m_field->onFocus = [this](bool focused) {
        Invalidate();
        Notify(focused ? kNotifyEditEnter : kNotifyEditDone);
    };
    QObject::connect(m_field, &QLineEdit::textEdited, m_field, [this](const QString& text) {
        ApplyLengthLimit(static_cast<int>(text.size()));
        StoreTitle(text.toStdString());
        Notify(kNotifyTextChanged);
    });
    QObject::connect(m_field, &QLineEdit::textChanged, m_field,
                     [this](const QString& text) { StoreTitle(text.toStdString()); });
    QObject::connect(m_field, &QLineEdit::returnPressed, m_field, [this] { Notify(kNotifyClick); });
    Widget()->setFocusProxy(m_field);
    ApplyValidator();
    Resized();
}

void MEdit::SetNumber(bool numeric) {
    m_numeric = numeric;
    ApplyValidator();
}

bool MEdit::IsNumber() const { return m_numeric; }

void MEdit::SetLimitText(int maxCharacters) {
    m_limit = std::max(0, maxCharacters);
    if (m_field) {
        ApplyLengthLimit(static_cast<int>(m_field->text().size()));
    }
}

void MEdit::ApplyLengthLimit(int length) {
    // The line edit cuts every text, set or typed, to its maximum; a text the program set
    // (a key name in a capture field) must show whole, so the maximum grows to hold it and
    // shrinks back as the user shortens it.
    m_field->setMaxLength(m_limit > 0 ? std::max(m_limit, length) : 32767);
}

void MEdit::SetReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    if (m_field) {
        m_field->setReadOnly(readOnly);
    }
}

void MEdit::SetTip(const std::string& hint) {
    m_tip = hint;
    if (m_field) {
        m_field->setPlaceholderText(QString::fromStdString(hint));
    }
}

int MEdit::GetInt() const { return kestrix::ParseDecimal(GetTitle()); }

void MEdit::SetInt(int value) { SetTitle(std::to_string(value)); }

void MEdit::SelectAll() {
    if (m_field) {
        m_field->selectAll();
    }
}

void MEdit::ApplyValidator() {
    if (!m_field) {
        return;
    }
    if (m_numeric) {
        m_field->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("-?[0-9]*")), m_field));
    } else {
        m_field->setValidator(nullptr);
    }
    ApplyLengthLimit(static_cast<int>(m_field->text().size()));
    m_field->setReadOnly(m_readOnly);
    m_field->setPlaceholderText(QString::fromStdString(m_tip));
}

void MEdit::TitleChanged() {
    if (!m_field) {
        return;
    }
    m_field->setFont(Font());
    const QString text = QString::fromStdString(GetTitle());
    if (m_field->text() != text) {
        ApplyLengthLimit(static_cast<int>(text.size()));
        m_field->setText(text);
        StoreTitle(m_field->text().toStdString());
    }
    const int flags = QtAlignment();
    m_field->setAlignment(
        static_cast<Qt::Alignment>((flags & ~Qt::AlignVertical_Mask) | Qt::AlignVCenter));
}

void MEdit::Resized() {
    if (m_field && Widget()) {
        m_field->setGeometry(10, 1, std::max(0, Widget()->width() - 20 - RightInset()),
                             std::max(0, Widget()->height() - 2));
    }
}

int MEdit::RightInset() const { return 0; }

QLineEdit* MEdit::Field() const { return m_field; }

void MEdit::Paint(QPainter& painter) {
    const VisualState state = State();
    const QRectF area = QRectF(Widget()->rect()).adjusted(1, 1, -1, -1);
    const bool focused = m_field && m_field->hasFocus();
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    if (!image.isNull()) {
        Theme::DrawNineSlice(painter, area, image, 6);
    } else {
        const QColor fill = m_readOnly && !focused ? Theme::kPanel : Theme::kInput;
        Theme::DrawPanel(painter, area, state.hover && !focused ? Theme::kInputHover : fill,
                         state.hover && !focused ? QColor(84, 84, 92) : Theme::kPanelBorder, 6);
    }
    painter.restore();
    if (focused) {
        Theme::DrawFocusRing(painter, QRectF(Widget()->rect()), 7);
    }
    if (m_field) {
        QPalette colours = m_field->palette();
        colours.setColor(QPalette::Text, state.disabled
                                             ? Theme::WithAlpha(TextColour(Theme::kHeading), 0.4)
                                             : TextColour(Theme::kHeading));
        m_field->setPalette(colours);
    }
}

}  // namespace DUI
