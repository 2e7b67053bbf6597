// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: the dark theme's colours, fonts, skin images and the vector
// drawing every control falls back to when a skin image is missing. Uses Qt.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <string>

class QPainter;

namespace DUI {
class MControl;
}

namespace DUI {

// Visual state a control is painted in.
struct VisualState {
    bool hover = false;
    bool pressed = false;
    bool checked = false;
    bool disabled = false;
    bool focused = false;
};

namespace Theme {

inline const QColor kWindow{26, 26, 26};
inline const QColor kPanel{36, 36, 38};
inline const QColor kPanelBorder{52, 52, 56};
inline const QColor kInput{44, 44, 48};
inline const QColor kInputHover{54, 54, 60};
inline const QColor kText{200, 200, 200};
inline const QColor kHeading{235, 235, 235};
inline const QColor kSecondary{150, 150, 150};
inline const QColor kTrack{64, 64, 70};
inline const QColor kDanger{232, 72, 85};
inline const QColor kGood{76, 217, 100};
inline const QColor kWarn{255, 176, 32};

// The selection colour of Manager::m_select_color.
QColor Accent();
// A colour integer (red in bits 0-7) as a QColor.
QColor FromColourInt(int colour);
// A QColor as a colour integer.
int ToColourInt(const QColor& colour);
// Hover lightens by 8 %, pressed darkens by 8 %.
QColor ForState(const QColor& base, const VisualState& state);
// Same colour with the given opacity 0..1.
QColor WithAlpha(const QColor& colour, double alpha);
// Text colour for something painted on top of colour (dark or light).
QColor ContrastText(const QColor& background);

// The toolkit font (Manager::GetFontName) at a pixel size; semibold unless weight says
// otherwise (QFont::Weight values).
QFont MakeFont(int pixelSize, int weight = QFont::DemiBold, const std::string& family = {});

// A skin image by name ("img_button.png", "icon\\tab_key.png"), scaled for the device pixel
// ratio (a "name@2x.png" beside it is preferred at ratio 2); null when missing. Cached;
// a missing image is logged once.
QPixmap SkinImage(const std::string& name, qreal devicePixelRatio = 1.0);
// True when the skin image exists.
bool HasSkinImage(const std::string& name);
// Forgets cached images (after a theme or folder change).
void ClearImageCache();

// Draws pixmap into target as a nine-slice with the given corner margin (logical px).
void DrawNineSlice(QPainter& painter, const QRectF& target, const QPixmap& pixmap, int margin);
// Draws pixmap centred into target, scaled down (never up beyond 2x) keeping its aspect.
void DrawFitted(QPainter& painter, const QRectF& target, const QPixmap& pixmap,
                bool allowUpscale = true);

// A filled rounded panel with its 1 px border.
void DrawPanel(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& border,
               qreal radius);
// The accent focus ring around rect.
void DrawFocusRing(QPainter& painter, const QRectF& rect, qreal radius);

// How a control treats a text wider than its rectangle.
enum class Elide {
    Fault,      // the text is meant to fit: it is elided and reported to the fit check
    OnPurpose,  // the design elides it (names the user typed): elided, not reported
};
// Draws text into rect with the painter's font and Qt alignment flags. A one-line text too
// wide is elided with "…"; a wrapped text too tall is clipped. Either is reported to the
// cut-text observer (ui/TextFit.h) unless elide says it is on purpose.
void DrawControlText(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                     Elide elide = Elide::Fault);
// Reports text to the cut-text observer when it would not fit rect on one line, without
// drawing it (texts a control can show later, such as the other items of a combo box).
void CheckTextFits(QPainter& painter, const QRectF& rect, const QString& text);
// The control being painted, named in cut-text reports (the control host sets it).
void SetPaintingControl(const MControl* control);

// Named vector glyphs drawn as monochrome line icons: "close", "minimize", "maximize",
// "restore", "settings", "reset", "return", "prev", "next", "home", "key", "dpi", "macro",
// "light", "set", "rec", "stop", "check", "help", "cable", "receiver", "mouse", "up",
// "down", "clock", "chevron-down", "plus", "minus", "logo", "edit". Returns false for an unknown
// name.
bool DrawGlyph(QPainter& painter, const QRectF& rect, const QString& name, const QColor& colour,
               qreal stroke = 1.6);
// Guesses the glyph for a skin image name ("sysbtn_close.png" -> "close").
QString GlyphForImage(const std::string& imageName);
// A horizontal battery with its fill (level 0..100; red below 20 %, amber below 50 %) and
// a bolt while charging.
void DrawBattery(QPainter& painter, const QRectF& rect, int level, bool charging);
// A top-view mouse silhouette (device pictures when the model's picture is missing).
void DrawMouseSilhouette(QPainter& painter, const QRectF& rect, const QColor& body,
                         const QColor& accent);

}  // namespace Theme
}  // namespace DUI
