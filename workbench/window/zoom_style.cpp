#include "workbench/window/zoom_style.h"

#include <QImage>
#include <QScopedValueRollback>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QStyleOptionSpinBox>
#include <QWidget>

TZoomStyle::TZoomStyle(const QString& baseStyle, int percent)
    : QProxyStyle(QStyleFactory::create(baseStyle)), percent_(percent)
{
}

int TZoomStyle::Scaled(int pixels) const
{
    return pixels * percent_ / 100;
}

int TZoomStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                            const QWidget* widget) const
{
    const int pixels = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_ScrollBarExtent:
    case PM_ScrollBarSliderMin:
    case PM_SmallIconSize:
    case PM_ButtonIconSize:
    case PM_ListViewIconSize:
    case PM_IconViewIconSize:
    case PM_TabBarIconSize:
    case PM_MessageBoxIconSize:
    case PM_ToolBarIconSize:
    case PM_ToolBarExtensionExtent:
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return Scaled(pixels);
    default:
        return pixels;
    }
}

// A menu draws every item's text beside the widest shortcut; an item without
// a shortcut of its own is measured without it, and its caption would be cut.
QSize TZoomStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                   const QWidget* widget) const
{
    QSize contents = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_MenuItem) {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item && item->menuItemType == QStyleOptionMenuItem::Normal &&
            !item->text.contains(u'\t')) {
            contents.rwidth() += item->reservedShortcutWidth;
        }
    }
    return contents;
}

QStyleOptionSpinBox TZoomStyle::Zoomed(const QStyleOptionSpinBox& option,
                                       const QWidget* widget) const
{
    QImage device(1, 1, QImage::Format_ARGB32);
    const int dotsPerMetre = qRound(option.fontMetrics.fontDpi() / 0.0254 * percent_ / 100);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    QStyleOptionSpinBox zoomed = option;
    const QFont font = widget ? widget->font() : QFont();
    zoomed.fontMetrics = QFontMetrics(QFont(font, &device), &device);
    return zoomed;
}

QRect TZoomStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                 SubControl part, const QWidget* widget) const
{
    const auto* spinBox = qstyleoption_cast<const QStyleOptionSpinBox*>(option);
    if (spinBox && !drawingSpinBox_) {
        const QStyleOptionSpinBox zoomed = Zoomed(*spinBox, widget);
        return QProxyStyle::subControlRect(control, &zoomed, part, widget);
    }
    return QProxyStyle::subControlRect(control, option, part, widget);
}

void TZoomStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                    QPainter* painter, const QWidget* widget) const
{
    if (const auto* spinBox = qstyleoption_cast<const QStyleOptionSpinBox*>(option)) {
        const QStyleOptionSpinBox zoomed = Zoomed(*spinBox, widget);
        // The style asks for the parts of the option it draws, already zoomed.
        const QScopedValueRollback drawing(drawingSpinBox_, true);
        QProxyStyle::drawComplexControl(control, &zoomed, painter, widget);
        return;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}
