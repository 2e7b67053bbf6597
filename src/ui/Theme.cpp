// SPDX-License-Identifier: MIT
#include "ui/Theme.h"

#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <QtMath>

#include <algorithm>

#include "base/Log.h"
#include "ui/Manager.h"

namespace DUI::Theme {

QColor Accent() { return FromColourInt(Manager::m_select_color); }

QColor FromColourInt(int colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

int ToColourInt(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QColor ForState(const QColor& base, const VisualState& state) {
    QColor result = base;
    if (state.pressed) {
        result = base.darker(109);
    } else if (state.hover) {
        // lighter() scales value, which does nothing for near-black; mix towards white.
        result = QColor(base.red() + (255 - base.red()) * 8 / 100,
                        base.green() + (255 - base.green()) * 8 / 100,
                        base.blue() + (255 - base.blue()) * 8 / 100, base.alpha());
    }
    if (state.disabled) {
        result.setAlphaF(result.alphaF() * 0.4);
    }
    return result;
}

QColor WithAlpha(const QColor& colour, double alpha) {
    QColor result = colour;
    result.setAlphaF(std::clamp(alpha, 0.0, 1.0));
    return result;
}

QColor ContrastText(const QColor& background) {
    const double luminance =
        0.299 * background.red() + 0.587 * background.green() + 0.114 * background.blue();
    return luminance > 150 ? QColor(18, 18, 18) : kHeading;
}

QFont MakeFont(int pixelSize, int weight, const std::string& family) {
    QStringList families{QString::fromStdString(family.empty() ? Manager::GetFontName() : family)};
    for (const std::string& fallback : Manager::GetFallbackFonts())
        families.append(QString::fromStdString(fallback));
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

namespace {

struct ImageCache {
    QHash<QString, QPixmap> images;
    QSet<QString> missing;
};

ImageCache& Cache() {
    static ImageCache cache;
    return cache;
}

QString HiDpiVariant(const QString& path) {
    const int dot = path.lastIndexOf('.');
    return dot < 0 ? path + "@2x" : path.left(dot) + "@2x" + path.mid(dot);
}

}  // namespace

QPixmap SkinImage(const std::string& name, qreal devicePixelRatio) {
    if (name.empty()) {
        return {};
    }
    const QString path = QString::fromStdString(Manager::GetSkinPath(name));
    const bool wantHiDpi = devicePixelRatio > 1.01;
    const QString key = path + (wantHiDpi ? "#2" : "#1");
    ImageCache& cache = Cache();
    auto found = cache.images.constFind(key);
    if (found != cache.images.constEnd()) {
        return *found;
    }
    if (cache.missing.contains(path)) {
        return {};
    }
    QPixmap pixmap;
    if (wantHiDpi && QFileInfo::exists(HiDpiVariant(path)) && pixmap.load(HiDpiVariant(path))) {
        pixmap.setDevicePixelRatio(2.0);
    } else if (!pixmap.load(path)) {
        cache.missing.insert(path);
        kestrix::LogLine("skin image missing or unreadable: %s", path.toUtf8().constData());
        return {};
    }
    cache.images.insert(key, pixmap);
    return pixmap;
}

bool HasSkinImage(const std::string& name) { return !SkinImage(name).isNull(); }

void ClearImageCache() {
    Cache().images.clear();
    Cache().missing.clear();
}

void DrawNineSlice(QPainter& painter, const QRectF& target, const QPixmap& pixmap, int margin) {
    if (pixmap.isNull()) {
        return;
    }
    const qreal ratio = pixmap.devicePixelRatio();
    const QSizeF size = QSizeF(pixmap.size()) / ratio;
    qreal m = std::min<qreal>(margin, std::min(size.width(), size.height()) / 2.0 - 1);
    m = std::min<qreal>(m, std::min(target.width(), target.height()) / 2.0);
    if (m <= 0) {
        painter.drawPixmap(target, pixmap, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
        return;
    }
    // Images made for (nearly) this size are drawn whole: slicing them would squeeze out
    // their middle.
    if (std::abs(target.width() - size.width()) <= size.width() * 0.12 &&
        std::abs(target.height() - size.height()) <= size.height() * 0.12) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(target, pixmap, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
        painter.restore();
        return;
    }
    const qreal sw = size.width();
    const qreal sh = size.height();
    const qreal xs[4] = {0, m, sw - m, sw};
    const qreal ys[4] = {0, m, sh - m, sh};
    const qreal xt[4] = {target.left(), target.left() + m, target.right() - m, target.right()};
    const qreal yt[4] = {target.top(), target.top() + m, target.bottom() - m, target.bottom()};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF src(xs[col] * ratio, ys[row] * ratio, (xs[col + 1] - xs[col]) * ratio,
                             (ys[row + 1] - ys[row]) * ratio);
            const QRectF dst(xt[col], yt[row], xt[col + 1] - xt[col], yt[row + 1] - yt[row]);
            if (dst.width() > 0 && dst.height() > 0 && src.width() > 0 && src.height() > 0) {
                painter.drawPixmap(dst, pixmap, src);
            }
        }
    }
}

void DrawFitted(QPainter& painter, const QRectF& target, const QPixmap& pixmap, bool allowUpscale) {
    if (pixmap.isNull() || target.isEmpty()) {
        return;
    }
    const QSizeF natural = QSizeF(pixmap.size()) / pixmap.devicePixelRatio();
    qreal scale = std::min(target.width() / natural.width(), target.height() / natural.height());
    if (!allowUpscale) {
        scale = std::min<qreal>(scale, 1.0);
    }
    const QSizeF drawn = natural * scale;
    const QRectF dst(target.center().x() - drawn.width() / 2,
                     target.center().y() - drawn.height() / 2, drawn.width(), drawn.height());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(dst, pixmap, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    painter.restore();
}

void DrawPanel(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& border,
               qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(border.alpha() == 0 ? Qt::NoPen : QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void DrawFocusRing(QPainter& painter, const QRectF& rect, qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(WithAlpha(Accent(), 0.9), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
    painter.restore();
}

namespace {

// Glyphs are drawn on a 24 x 24 design grid centred in the target.
void DrawGlyphPath(QPainter& painter, const QString& name, const QColor& colour, qreal stroke) {
    QPen pen(colour, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (name == "close") {
        painter.drawLine(QPointF(7, 7), QPointF(17, 17));
        painter.drawLine(QPointF(17, 7), QPointF(7, 17));
    } else if (name == "minimize") {
        painter.drawLine(QPointF(6.5, 12.5), QPointF(17.5, 12.5));
    } else if (name == "maximize") {
        painter.drawRoundedRect(QRectF(7, 7, 10, 10), 1.5, 1.5);
    } else if (name == "restore") {
        painter.drawRoundedRect(QRectF(6.5, 9, 8.5, 8.5), 1.2, 1.2);
        QPainterPath back;
        back.moveTo(9, 9);
        back.lineTo(9, 6.5);
        back.lineTo(17.5, 6.5);
        back.lineTo(17.5, 15);
        back.lineTo(15, 15);
        painter.drawPath(back);
    } else if (name == "settings" || name == "set") {
        QPainterPath gear;
        const QPointF c(12, 12);
        for (int i = 0; i < 8; ++i) {
            const qreal a0 = (i * 45 - 12) * M_PI / 180.0;
            const qreal a1 = (i * 45 + 12) * M_PI / 180.0;
            const qreal a2 = (i * 45 + 33) * M_PI / 180.0;
            const QPointF outer0 = c + QPointF(qCos(a0) * 8.5, qSin(a0) * 8.5);
            const QPointF outer1 = c + QPointF(qCos(a1) * 8.5, qSin(a1) * 8.5);
            const QPointF inner = c + QPointF(qCos(a2) * 6.4, qSin(a2) * 6.4);
            if (i == 0) {
                gear.moveTo(outer0);
            } else {
                gear.lineTo(outer0);
            }
            gear.lineTo(outer1);
            gear.lineTo(inner);
        }
        gear.closeSubpath();
        painter.drawPath(gear);
        painter.drawEllipse(c, 2.8, 2.8);
    } else if (name == "reset") {
        painter.drawArc(QRectF(5.5, 5.5, 13, 13), 100 * 16, 290 * 16);
        QPainterPath head;
        head.moveTo(9.5, 3.8);
        head.lineTo(10.8, 6.4);
        head.lineTo(8.0, 7.6);
        painter.drawPath(head);
    } else if (name == "return" || name == "prev") {
        painter.drawLine(QPointF(14.5, 6), QPointF(8.5, 12));
        painter.drawLine(QPointF(8.5, 12), QPointF(14.5, 18));
        if (name == "return") {
            painter.drawLine(QPointF(8.5, 12), QPointF(19, 12));
        }
    } else if (name == "next") {
        painter.drawLine(QPointF(9.5, 6), QPointF(15.5, 12));
        painter.drawLine(QPointF(15.5, 12), QPointF(9.5, 18));
    } else if (name == "chevron-down") {
        painter.drawLine(QPointF(7, 10), QPointF(12, 15));
        painter.drawLine(QPointF(12, 15), QPointF(17, 10));
    } else if (name == "up") {
        painter.drawLine(QPointF(12, 18.5), QPointF(12, 5.5));
        painter.drawLine(QPointF(7, 10.5), QPointF(12, 5.5));
        painter.drawLine(QPointF(17, 10.5), QPointF(12, 5.5));
    } else if (name == "down") {
        painter.drawLine(QPointF(12, 5.5), QPointF(12, 18.5));
        painter.drawLine(QPointF(7, 13.5), QPointF(12, 18.5));
        painter.drawLine(QPointF(17, 13.5), QPointF(12, 18.5));
    } else if (name == "home") {
        QPainterPath house;
        house.moveTo(4.5, 11.5);
        house.lineTo(12, 5);
        house.lineTo(19.5, 11.5);
        painter.drawPath(house);
        QPainterPath body;
        body.moveTo(6.5, 10);
        body.lineTo(6.5, 19);
        body.lineTo(17.5, 19);
        body.lineTo(17.5, 10);
        painter.drawPath(body);
        painter.drawRoundedRect(QRectF(10.3, 13.5, 3.4, 5.5), 0.8, 0.8);
    } else if (name == "key" || name == "mouse") {
        painter.drawRoundedRect(QRectF(6.5, 3.5, 11, 17), 5.5, 5.5);
        painter.drawLine(QPointF(12, 3.8), QPointF(12, 9.5));
        painter.drawLine(QPointF(6.8, 9.5), QPointF(17.2, 9.5));
        if (name == "key") {
            painter.setBrush(colour);
            painter.drawRoundedRect(QRectF(11, 5.5, 2, 2.8), 1, 1);
        }
    } else if (name == "dpi") {
        painter.drawArc(QRectF(4, 5.5, 16, 16), 20 * 16, 140 * 16);
        painter.drawLine(QPointF(12, 13.5), QPointF(16.5, 8.5));
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(12, 13.5), 1.6, 1.6);
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(QPointF(5, 18.5), QPointF(19, 18.5));
    } else if (name == "macro") {
        painter.drawRoundedRect(QRectF(3.5, 7, 17, 11), 2, 2);
        for (int i = 0; i < 4; ++i) {
            painter.drawPoint(QPointF(7 + i * 3.3, 10.5));
        }
        painter.drawLine(QPointF(8, 14.5), QPointF(16, 14.5));
    } else if (name == "light") {
        painter.drawEllipse(QPointF(12, 10.5), 5, 5);
        painter.drawLine(QPointF(10, 17.5), QPointF(14, 17.5));
        painter.drawLine(QPointF(10.6, 20), QPointF(13.4, 20));
        painter.drawLine(QPointF(12, 2.5), QPointF(12, 3.5));
        painter.drawLine(QPointF(4, 10.5), QPointF(5, 10.5));
        painter.drawLine(QPointF(19, 10.5), QPointF(20, 10.5));
    } else if (name == "rec") {
        painter.drawEllipse(QPointF(12, 12), 8, 8);
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(12, 12), 4.2, 4.2);
    } else if (name == "stop") {
        painter.drawEllipse(QPointF(12, 12), 8, 8);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(8.6, 8.6, 6.8, 6.8), 1.2, 1.2);
    } else if (name == "check") {
        painter.drawLine(QPointF(6.5, 12.5), QPointF(10.5, 16.5));
        painter.drawLine(QPointF(10.5, 16.5), QPointF(17.5, 8));
    } else if (name == "help") {
        painter.drawEllipse(QPointF(12, 12), 8.5, 8.5);
        QPainterPath q;
        q.moveTo(9.6, 9.8);
        q.cubicTo(9.6, 6.8, 14.6, 6.8, 14.6, 9.8);
        q.cubicTo(14.6, 11.8, 12, 11.6, 12, 14);
        painter.drawPath(q);
        painter.drawPoint(QPointF(12, 17));
    } else if (name == "cable") {
        painter.drawRoundedRect(QRectF(8.5, 3.5, 7, 7), 1, 1);
        painter.drawLine(QPointF(10.5, 5.5), QPointF(10.5, 7));
        painter.drawLine(QPointF(13.5, 5.5), QPointF(13.5, 7));
        QPainterPath cord;
        cord.moveTo(12, 10.5);
        cord.cubicTo(12, 16, 6, 14, 6, 20.5);
        painter.drawPath(cord);
    } else if (name == "receiver") {
        painter.drawArc(QRectF(5, 5, 14, 14), 45 * 16, 90 * 16);
        painter.drawArc(QRectF(8, 8, 8, 8), 45 * 16, 90 * 16);
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(12, 14.2), 1.5, 1.5);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(9, 17, 6, 3.5), 1, 1);
    } else if (name == "clock") {
        painter.drawEllipse(QPointF(12, 12), 7.5, 7.5);
        painter.drawLine(QPointF(12, 12), QPointF(12, 7.5));
        painter.drawLine(QPointF(12, 12), QPointF(15, 13.5));
    } else if (name == "edit") {
        QPainterPath pencil;
        pencil.moveTo(6, 18);
        pencil.lineTo(6.8, 14.6);
        pencil.lineTo(15.6, 5.8);
        pencil.lineTo(18.2, 8.4);
        pencil.lineTo(9.4, 17.2);
        pencil.closeSubpath();
        painter.drawPath(pencil);
        painter.drawLine(QPointF(13.8, 7.6), QPointF(16.4, 10.2));
    } else if (name == "plus") {
        painter.drawLine(QPointF(12, 6), QPointF(12, 18));
        painter.drawLine(QPointF(6, 12), QPointF(18, 12));
    } else if (name == "minus") {
        painter.drawLine(QPointF(6, 12), QPointF(18, 12));
    } else if (name == "logo") {
        // A stylised "K" cut into a shield.
        QPainterPath shield;
        shield.moveTo(12, 2.5);
        shield.lineTo(20, 5.5);
        shield.lineTo(19, 14);
        shield.cubicTo(18, 18, 15, 20, 12, 21.5);
        shield.cubicTo(9, 20, 6, 18, 5, 14);
        shield.lineTo(4, 5.5);
        shield.closeSubpath();
        painter.drawPath(shield);
        painter.drawLine(QPointF(9.5, 7.5), QPointF(9.5, 16.5));
        painter.drawLine(QPointF(15, 7.5), QPointF(10, 12));
        painter.drawLine(QPointF(11.3, 11), QPointF(15, 16.5));
    } else {
        // unknown: a neutral dot so that nothing is left blank
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(12, 12), 3, 3);
    }
}

const QStringList& KnownGlyphs() {
    static const QStringList names = {
        "close",    "minimize", "maximize",     "restore", "settings", "set",   "reset", "return",
        "prev",     "next",     "chevron-down", "up",      "down",     "home",  "key",   "mouse",
        "dpi",      "macro",    "light",        "rec",     "stop",     "check", "help",  "cable",
        "receiver", "clock",    "plus",         "minus",   "logo",     "edit"};
    return names;
}

}  // namespace

bool DrawGlyph(QPainter& painter, const QRectF& rect, const QString& name, const QColor& colour,
               qreal stroke) {
    const qreal side = std::min(rect.width(), rect.height());
    if (side <= 0) {
        return false;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
    painter.scale(side / 24.0, side / 24.0);
    DrawGlyphPath(painter, name, colour, stroke * 24.0 / side);
    painter.restore();
    return KnownGlyphs().contains(name);
}

QString GlyphForImage(const std::string& imageName) {
    QString name = QString::fromStdString(imageName).toLower();
    name.replace('\\', '/');
    name = name.section('/', -1);
    name.remove(".png").remove(".ico").remove(".svg");
    struct Pair {
        const char* fragment;
        const char* glyph;
    };
    static const Pair pairs[] = {
        {"close", "close"},          {"min", "minimize"},     {"maximize", "maximize"},
        {"restore", "restore"},      {"setting", "settings"}, {"reset", "reset"},
        {"return", "return"},        {"pre", "prev"},         {"next", "next"},
        {"tab_home", "home"},        {"tab_key", "key"},      {"tab_dpi", "dpi"},
        {"tab_macro", "macro"},      {"tab_light", "light"},  {"tab_set", "set"},
        {"stop_rec", "stop"},        {"rec", "rec"},          {"recorditem_up", "up"},
        {"recorditem_down", "down"}, {"help", "help"},        {"logo", "logo"},
        {"devicedriver", "logo"},    {"tray", "logo"}};
    for (const Pair& pair : pairs) {
        if (name.contains(QLatin1String(pair.fragment))) {
            return QString::fromLatin1(pair.glyph);
        }
    }
    return {};
}

void DrawBattery(QPainter& painter, const QRectF& rect, int level, bool charging) {
    level = std::clamp(level, 0, 100);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal capWidth = std::max<qreal>(2, rect.height() * 0.18);
    const QRectF body(rect.left() + 0.75, rect.top() + 0.75, rect.width() - capWidth - 2,
                      rect.height() - 1.5);
    painter.setPen(QPen(kText, 1.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(body, 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kText);
    painter.drawRoundedRect(QRectF(body.right() + 1, rect.center().y() - rect.height() * 0.2,
                                   capWidth, rect.height() * 0.4),
                            1, 1);
    const QColor fill = level < 20 ? kDanger : (level < 50 ? kWarn : kGood);
    const QRectF inner = body.adjusted(2.2, 2.2, -2.2, -2.2);
    if (level > 0) {
        painter.setBrush(fill);
        painter.drawRoundedRect(
            QRectF(inner.left(), inner.top(), std::max<qreal>(2, inner.width() * level / 100.0),
                   inner.height()),
            1.5, 1.5);
    }
    if (charging) {
        QPainterPath bolt;
        const QPointF c = body.center();
        const qreal h = body.height() * 0.8;
        bolt.moveTo(c.x() + h * 0.08, c.y() - h / 2);
        bolt.lineTo(c.x() - h * 0.28, c.y() + h * 0.06);
        bolt.lineTo(c.x() - h * 0.02, c.y() + h * 0.06);
        bolt.lineTo(c.x() - h * 0.1, c.y() + h / 2);
        bolt.lineTo(c.x() + h * 0.28, c.y() - h * 0.08);
        bolt.lineTo(c.x() + h * 0.02, c.y() - h * 0.08);
        bolt.closeSubpath();
        painter.setPen(QPen(QColor(26, 26, 26), 1));
        painter.setBrush(kHeading);
        painter.drawPath(bolt);
    }
    painter.restore();
}

void DrawMouseSilhouette(QPainter& painter, const QRectF& rect, const QColor& body,
                         const QColor& accent) {
    const qreal h = std::min(rect.height(), rect.width() * 1.7);
    const qreal w = h / 1.7;
    const QRectF r(rect.center().x() - w / 2, rect.center().y() - h / 2, w, h);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shell;
    shell.moveTo(r.center().x(), r.top());
    shell.cubicTo(r.right() + w * 0.02, r.top(), r.right() + w * 0.04, r.top() + h * 0.45,
                  r.right() - w * 0.04, r.top() + h * 0.78);
    shell.cubicTo(r.right() - w * 0.12, r.bottom(), r.left() + w * 0.12, r.bottom(),
                  r.left() + w * 0.04, r.top() + h * 0.78);
    shell.cubicTo(r.left() - w * 0.04, r.top() + h * 0.45, r.left() - w * 0.02, r.top(),
                  r.center().x(), r.top());
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, body.lighter(135));
    fill.setColorAt(1, body);
    painter.setPen(QPen(body.lighter(170), 1.2));
    painter.setBrush(fill);
    painter.drawPath(shell);
    painter.setPen(QPen(body.darker(160), 1.4));
    painter.drawLine(QPointF(r.center().x(), r.top() + 2),
                     QPointF(r.center().x(), r.top() + h * 0.36));
    painter.drawLine(QPointF(r.left() + w * 0.05, r.top() + h * 0.36),
                     QPointF(r.right() - w * 0.05, r.top() + h * 0.36));
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    painter.drawRoundedRect(
        QRectF(r.center().x() - w * 0.045, r.top() + h * 0.1, w * 0.09, h * 0.14), w * 0.04,
        w * 0.04);
    QColor glow = accent;
    glow.setAlpha(150);
    painter.setBrush(glow);
    painter.drawRoundedRect(QRectF(r.center().x() - w * 0.2, r.top() + h * 0.62, w * 0.4, h * 0.05),
                            3, 3);
    painter.restore();
}

}  // namespace DUI::Theme
