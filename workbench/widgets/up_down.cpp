#include "workbench/widgets/up_down.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSpinBox>

TUpDown::TUpDown(int minimum, int maximum, int position, QWidget* parent) : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setValue(position);
    setWrapping(true);
    setFocusPolicy(Qt::NoFocus);
    lineEdit()->hide();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TUpDown::SetPosition(int position)
{
    const QSignalBlocker blocker(this);
    setValue(position);
}

void TUpDown::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    emit clicked(value());
}

QSize TUpDown::sizeHint() const
{
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QRect up =
        style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this);
    const int frame = style()->pixelMetric(QStyle::PM_SpinBoxFrameWidth, &option, this);
    return {up.width() + 2 * frame, QSpinBox::sizeHint().height()};
}
