#pragma once

#include <QSpinBox>

// An up-down control: a pair of wrapping arrow buttons whose position the
// window reads and sets; `clicked` reports only the user's steps.
class TUpDown : public QSpinBox {
    Q_OBJECT

public:
    TUpDown(int minimum, int maximum, int position, QWidget* parent);

    int Position() const { return value(); }
    void SetPosition(int position); // does not emit clicked
    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void clicked(int position);
};
