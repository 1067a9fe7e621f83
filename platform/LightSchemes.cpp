#include "platform/LightSchemes.h"

#include <algorithm>
#include <cmath>

namespace {

double channel(double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

const std::vector<LightScheme>& LightSchemes() {
    static const std::vector<LightScheme> schemes{
        {QStringLiteral("ambar"), QStringLiteral("Ámbar"), QColor(QRgb(0xffffff)),
         QColor(QRgb(0x000000)), QColor(QRgb(0xc08400)), QColor(QRgb(0x1a1a80)),
         QColor(QRgb(0xffffff))},
        {QStringLiteral("azul"), QStringLiteral("Azul"), QColor(QRgb(0xffffff)),
         QColor(QRgb(0x000000)), QColor(QRgb(0x5590cc)), QColor(QRgb(0x4a0d0d)),
         QColor(QRgb(0xffffff))},
        {QStringLiteral("verde"), QStringLiteral("Verde"), QColor(QRgb(0xffffff)),
         QColor(QRgb(0x000000)), QColor(QRgb(0x4ca25c)), QColor(QRgb(0x3d0a55)),
         QColor(QRgb(0xffffff))},
        // For a desktop with dark pages: light text, a deep tint, the word in bright yellow.
        {QStringLiteral("oscuro"), QStringLiteral("Para fondo oscuro"), QColor(QRgb(0x1e1e1e)),
         QColor(QRgb(0xffffff)), QColor(QRgb(0x3d6aa8)), QColor(QRgb(0xffd54f)),
         QColor(QRgb(0x000000))},
    };
    return schemes;
}

const LightScheme& LightSchemeOf(const QString& key) {
    const auto& all = LightSchemes();
    const auto found =
        std::find_if(all.begin(), all.end(), [&](const LightScheme& s) { return s.key == key; });
    return found == all.end() ? all.front() : *found;
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
