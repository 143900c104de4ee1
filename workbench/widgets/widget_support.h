#pragma once

#include "workbench/rules/key_filters.h"

#include <QValidator>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QFocusEvent;
class QLabel;
class QLineEdit;
class QString;
class QToolBar;
class QWidget;

// The width a line edit needs to show `sample` in its own font, frame included.
int LineEditWidthFor(const QLineEdit* edit, const QString& sample);

// A label keeps the size hint it computed for the font and the minimum width
// it had; after a change of either, this makes it compute the hint anew.
void RenewSizeHint(QLabel* label);

// The text colour of a widget: what its palette draws text with.
void SetTextColour(QWidget* widget, unsigned rgb);
void FollowParentColour(QWidget* widget);
// A field's text and background colours, each the parent's where not given.
void SetFieldColours(QWidget* widget, std::optional<unsigned> text,
                     std::optional<unsigned> background);

// The integer tag that a component carries.
int TagOf(const QWidget* widget);
void SetTag(QWidget* widget, int tag);

// What a typed character meets in a line edit.
EditState EditStateOf(const QLineEdit* edit);

// Carries out a key filter's verdict; true when the key press is consumed.
bool ApplyKeyVerdict(QLineEdit* edit, const KeyVerdict& verdict);

// Whether the focus left for another control of the window, rather than for
// another window or a pop-up list.
bool LeavesWithinWindow(const QFocusEvent* event);

// Sets an action's hint "short|long": its pop-up hint and its status text.
void SetActionHint(QAction* action, const QString& hint);

// The pop-up hint of each tool button names its action's shortcut beside
// the action's own hint: "執行 (F5)".
void ShowShortcutsInToolTips(QToolBar* toolBar);

// Drops the box's list down once the focus change that reached it has settled.
void DropDownOnFocus(QComboBox* box);

// Keeps a line edit to the texts its key filter admits, whatever brings them
// in (pasting, dropping); deleting is always allowed, as Backspace is.
class AdmittedTextValidator : public QValidator {
public:
    AdmittedTextValidator(QLineEdit* edit, std::function<bool(const QString&)> admits);
    State validate(QString& input, int& position) const override;

private:
    QLineEdit* edit_;
    std::function<bool(const QString&)> admits_;
};
