#include "workbench/window/option_commands.h"

#include "workbench/machine_view/machine_view.h"
#include "workbench/widgets/widget_support.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QMainWindow>

TOptionCommands::TOptionCommands(QMainWindow& window, TMachineView& view)
    : QObject(&window), window_(window), view_(view), colours_(new QColorDialog(&window))
{
    colours_->setObjectName(QStringLiteral("ColorDialog"));
    colours_->setOption(QColorDialog::DontUseNativeDialog);
    view_.SetTextColour(window.palette().color(QPalette::WindowText));
}

QColor TOptionCommands::AskColour(const QColor& preset)
{
    colours_->setCurrentColor(preset);
    return colours_->exec() == QDialog::Accepted ? colours_->selectedColor() : QColor();
}

void TOptionCommands::ChooseWriteColour()
{
    if (const QColor colour = AskColour(view_.WriteColour()); colour.isValid()) {
        view_.SetWriteColour(colour);
    }
}

void TOptionCommands::ChooseReadColour()
{
    if (const QColor colour = AskColour(view_.ReadColour()); colour.isValid()) {
        view_.SetReadColour(colour);
    }
}

void TOptionCommands::ChooseTextColour()
{
    QWidget* client = window_.centralWidget();
    const QColor colour = AskColour(client->palette().color(QPalette::WindowText));
    if (!colour.isValid()) {
        return;
    }
    view_.SetTextColour(colour);
    QPalette palette = client->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    client->setPalette(palette);
}

void TOptionCommands::ToggleHints(QAction& command)
{
    hintsShown_ = !hintsShown_;
    command.setChecked(hintsShown_);
    if (hintsShown_) {
        command.setText(QStringLiteral("隱藏提示(&H)"));
        SetActionHint(&command, QStringLiteral("隱藏提示|隱藏按鈕之提示"));
        qApp->removeEventFilter(this);
    } else {
        command.setText(QStringLiteral("顯示提示(&H)"));
        SetActionHint(&command, QStringLiteral("顯示提示|顯示按鈕之提示"));
        qApp->installEventFilter(this);
    }
}

void TOptionCommands::ToggleRadix(QAction& command)
{
    view_.ToggleRadix();
    const bool decimal = view_.Radix() == 10;
    command.setChecked(!decimal);
    if (decimal) {
        command.setText(QStringLiteral("十六進位顯示(&H)"));
        SetActionHint(&command, QStringLiteral("十六進位|將數字顯示為十六進位"));
    } else {
        command.setText(QStringLiteral("十進位顯示(&D)"));
        SetActionHint(&command, QStringLiteral("十進位|將數字顯示為十進位"));
    }
}

bool TOptionCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !hintsShown_) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}
