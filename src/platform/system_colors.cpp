#include "platform/system_colors.h"

#include <QApplication>
#include <QPalette>

namespace mekuri {

namespace {

// System colour index (the nn of FF0000nn) to the desktop palette.
QColor systemColor(int index) {
    const QPalette p = QApplication::palette();
    switch (index) {
    case 0x00: return p.color(QPalette::Button);                        // clScrollBar
    case 0x01: return p.color(QPalette::Dark);                          // clBackground (desktop)
    case 0x02: return p.color(QPalette::Active, QPalette::Highlight);   // clActiveCaption
    case 0x03: return p.color(QPalette::Mid);                           // clInactiveCaption
    case 0x04: return p.color(QPalette::Window);                        // clMenu
    case 0x05: return p.color(QPalette::Base);                          // clWindow
    case 0x06: return p.color(QPalette::Shadow);                        // clWindowFrame
    case 0x07: return p.color(QPalette::WindowText);                    // clMenuText
    case 0x08: return p.color(QPalette::Text);                          // clWindowText
    case 0x09: return p.color(QPalette::HighlightedText);               // clCaptionText
    case 0x0A: return p.color(QPalette::Button);                        // clActiveBorder
    case 0x0B: return p.color(QPalette::Button);                        // clInactiveBorder
    case 0x0C: return p.color(QPalette::Dark);                          // clAppWorkSpace
    case 0x0D: return p.color(QPalette::Active, QPalette::Highlight);   // clHighlight
    case 0x0E: return p.color(QPalette::HighlightedText);               // clHighlightText
    case 0x0F: return p.color(QPalette::Button);                        // clBtnFace
    case 0x10: return p.color(QPalette::Dark);                          // clBtnShadow
    case 0x11: return p.color(QPalette::Disabled, QPalette::Text);      // clGrayText
    case 0x12: return p.color(QPalette::ButtonText);                    // clBtnText
    case 0x13: return p.color(QPalette::Disabled, QPalette::WindowText);// clInactiveCaptionText
    case 0x14: return p.color(QPalette::Light);                         // clBtnHighlight
    case 0x15: return p.color(QPalette::Shadow);                        // cl3DDkShadow
    case 0x16: return p.color(QPalette::Midlight);                      // cl3DLight
    case 0x17: return p.color(QPalette::ToolTipText);                   // clInfoText
    case 0x18: return p.color(QPalette::ToolTipBase);                   // clInfoBk
    case 0x1A: return p.color(QPalette::Link);                          // clHotLight
    case 0x1B: return p.color(QPalette::Active, QPalette::Highlight).lighter(130);  // clGradientActiveCaption
    case 0x1C: return p.color(QPalette::Midlight);                      // clGradientInactiveCaption
    case 0x1D: return p.color(QPalette::Active, QPalette::Highlight);   // clMenuHighlight
    case 0x1E: return p.color(QPalette::Window);                        // clMenuBar
    default: return p.color(QPalette::Window);
    }
}

}  // namespace

QColor colorFromValue(quint32 value) {
    if (value == 0x1FFFFFFFu) return QColor(Qt::transparent);                    // clNone
    if (value == 0x20000000u) return QApplication::palette().color(QPalette::Window);  // clDefault
    if ((value & 0xFF000000u) == 0xFF000000u) return systemColor(int(value & 0xFFu));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 valueFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

}  // namespace mekuri
