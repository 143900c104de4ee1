#pragma once

#include <QDialog>

// The program information box; the window never fills its placeholders.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent);
};
