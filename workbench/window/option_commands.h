#pragma once

#include <QObject>

class QAction;
class QColor;
class QColorDialog;
class QMainWindow;
class TMachineView;

// The Options menu's commands and the radix switch: the highlight and text
// colours, chosen in the colour dialog; the pop-up hints, shown or hidden;
// the radix, with the caption and hint of its command.
class TOptionCommands : public QObject {
    Q_OBJECT

public:
    TOptionCommands(QMainWindow& window, TMachineView& view);

    QColorDialog* ColourDialog() const { return colours_; }
    void ChooseWriteColour();
    void ChooseReadColour();
    void ChooseTextColour();
    void ToggleHints(QAction& command);
    void ToggleRadix(QAction& command);

protected:
    // Swallows every pop-up hint while they are hidden.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The colour chosen, or an invalid colour when the dialog was cancelled.
    QColor AskColour(const QColor& preset);

    QMainWindow& window_;
    TMachineView& view_;
    QColorDialog* colours_;
    bool hintsShown_ = true;
};
