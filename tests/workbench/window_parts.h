#pragma once

#include <array>

class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTabBar;
class QTableWidget;
class QTimer;
class QWidget;

// The components of the window that a test reaches into, found once by their
// names as anyone driving the window finds them.
struct WindowParts {
    explicit WindowParts(const QWidget* window);

    QTableWidget* sgrdCode;
    QLineEdit* txtStart;
    QLineEdit* txtLabel;
    QComboBox* cboOpcode;
    QWidget* pnlOperand;
    std::array<QComboBox*, 3> registerBoxes; // cboR1, cboR2, cboR3
    QPlainTextEdit* mmMessage;
    QLineEdit* txtInterval;
    QSpinBox* udInterval;
    QTimer* tmrRunCpu;
    QLineEdit* txtPC;
    QSpinBox* udPC;
    QTabBar* tabMM;
    std::array<QLineEdit*, 16> registers;
    std::array<QLineEdit*, 32> memory;
    std::array<QLabel*, 32> memoryLabels;
    std::array<QLineEdit*, 8> pcWindowFields;
    std::array<QLabel*, 8> pcWindowLabels;
    QFileDialog* OpenDialog;
    QFileDialog* SaveDialog;
};
