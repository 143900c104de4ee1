#pragma once

#include <QDir>
#include <QPoint>
#include <QStringList>
#include <QTimer>

#include "window_parts.h"

#include <functional>
#include <map>
#include <random>

class QAction;
class QWidget;
class TMainForm;
class WindowModel;

// A user who does anything at all to the window, chosen by a seeded random
// generator: clicks into the grid, its editors and the machine view, turns
// the mouse wheel, opens menus, types any character and shortcut, runs every
// available command (Run at any speed), closes the window, and answers every
// dialog that shows with any of its answers. Files are chosen in a folder of
// its own.
class RandomUser {
public:
    RandomUser(TMainForm& form, WindowModel& model, unsigned seed, const QString& folder);
    ~RandomUser();

    // One action, then a short turn of the event loop.
    void Act();
    // What was done so far, dialog answers included, one line each.
    const QStringList& Actions() const { return actions_; }
    // Called with each action before it is done.
    std::function<void(const QString&)> actionStarts;

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    void Log(const QString& action);

    void ActOtherwise(int kind);
    void ClickGrid();
    void ClickGridAt(QPoint point, Qt::MouseButton button);
    void EnterLine();
    bool PickFromOpenList();
    void ClickField();
    void OpenMenu();
    void Type();
    void RunCommand();
    void SetSpeed();
    void Scroll();
    void UseClipboard();
    void CloseWindow();
    void ClosePopups();
    void Trigger(QAction* action);

    void WatchCommands();
    void AnswerDialog();
    void Answer(QWidget* dialog, int given);
    QString FileToChoose(bool saving);

    TMainForm& form_;
    const WindowParts parts_;
    WindowModel& model_;
    QDir folder_;
    std::mt19937 random_;
    std::mt19937 answers_; // answers draw from their own sequence
    QTimer answerer_;
    std::map<QWidget*, int> attempts_; // answers given to each dialog still showing
    QStringList actions_;
};
