#include "window_parts.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

template <typename T> T* Named(const QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no " << name.toStdString();
    return found;
}

template <typename T, std::size_t N>
std::array<T*, N> Numbered(const QWidget* window, const char* prefix, int first = 0)
{
    std::array<T*, N> parts{};
    for (std::size_t i = 0; i < N; ++i) {
        parts[i] = Named<T>(window, QLatin1String(prefix) + QString::number(int(i) + first));
    }
    return parts;
}

} // namespace

WindowParts::WindowParts(const QWidget* window)
    : sgrdCode(Named<QTableWidget>(window, "sgrdCode")),
      txtStart(Named<QLineEdit>(window, "txtStart")),
      txtLabel(Named<QLineEdit>(window, "txtLabel")),
      cboOpcode(Named<QComboBox>(window, "cboOpcode")),
      pnlOperand(Named<QWidget>(window, "pnlOperand")),
      registerBoxes(Numbered<QComboBox, 3>(window, "cboR", 1)),
      mmMessage(Named<QPlainTextEdit>(window, "mmMessage")),
      txtInterval(Named<QLineEdit>(window, "txtInterval")),
      udInterval(Named<QSpinBox>(window, "udInterval")),
      tmrRunCpu(Named<QTimer>(window, "tmrRunCpu")), txtPC(Named<QLineEdit>(window, "txtPC")),
      udPC(Named<QSpinBox>(window, "udPC")), tabMM(Named<QTabBar>(window, "tabMM")),
      registers(Numbered<QLineEdit, 16>(window, "txtRegister")),
      memory(Numbered<QLineEdit, 32>(window, "txtMemory")),
      memoryLabels(Numbered<QLabel, 32>(window, "lblMemory")),
      pcWindowFields(Numbered<QLineEdit, 8>(window, "txtPcWindow")),
      pcWindowLabels(Numbered<QLabel, 8>(window, "lblPcWindow")),
      OpenDialog(Named<QFileDialog>(window, "OpenDialog")),
      SaveDialog(Named<QFileDialog>(window, "SaveDialog"))
{
}
