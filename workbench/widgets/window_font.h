#pragma once

#include <QFont>
#include <QStringList>

// The window's font at 100 %: 13 pixels high, a Traditional Chinese face first.
inline constexpr int WindowFontPixels = 13;

inline QFont WindowFont(QFont font)
{
    font.setFamilies({QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans TC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("sans-serif")});
    font.setPixelSize(WindowFontPixels);
    return font;
}
