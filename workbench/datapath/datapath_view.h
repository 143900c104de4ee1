#pragma once

#include "machine/datapath.h"

#include <QColor>
#include <QWidget>

// The machine's datapath, drawn from the tables of its blocks and paths:
// what the last micro-step used lights up with the values that moved, a
// write in the SET colour, a read in the GET colour, a failing block in the
// error colour. The grid scales to the widget, keeping its proportions.
class TDatapathView : public QWidget {
    Q_OBJECT

public:
    explicit TDatapathView(QWidget* parent);

    // Nothing lit, or what the micro-step lit.
    void ShowLighting(const DatapathLighting& lighting);
    void SetRadix(int radix);
    void SetColours(const QColor& write, const QColor& read);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString ValueText(int value, bool digit) const;

    DatapathLighting lighting_;
    int radix_ = 16;
    QColor write_ = Qt::red;
    QColor read_ = Qt::blue;
};
