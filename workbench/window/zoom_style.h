#pragma once

#include <QProxyStyle>
#include <QStyleOptionSpinBox>

// The application's style at a zoom other than 100 %: the measures a font
// does not carry (icons, scroll bars, check marks, spin-box arrows) grow with
// the zoom, and a menu item leaves room for the shortcut column that every
// item of its menu reserves.
class TZoomStyle : public QProxyStyle {
public:
    TZoomStyle(const QString& baseStyle, int percent);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;

private:
    int Scaled(int pixels) const;
    // A spin box's option whose font reports a zoomed resolution: styles
    // size the arrow buttons and the arrows by it.
    QStyleOptionSpinBox Zoomed(const QStyleOptionSpinBox& option, const QWidget* widget) const;

    int percent_;
    mutable bool drawingSpinBox_ = false;
};
