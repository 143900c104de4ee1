#pragma once

class QWidget;

// The window's client area: the program editor above the message log on
// the left, a bevel, and the machine view on the right.
QWidget* NewClient(QWidget* window, QWidget* editor, QWidget* log, QWidget* view);
