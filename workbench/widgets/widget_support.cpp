#include "workbench/widgets/widget_support.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVariant>

int LineEditWidthFor(const QLineEdit* edit, const QString& sample)
{
    // A line edit's size hint reserves 17 "x" for its text; keep its margins
    // and frame and put the sample's width in place of that allowance.
    const QFontMetrics metrics(edit->font());
    return edit->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x')) +
           metrics.horizontalAdvance(sample) + 2;
}

void RenewSizeHint(QLabel* label)
{
    label->setIndent(label->indent()); // drops the hint whatever the value
}

void SetTextColour(QWidget* widget, unsigned rgb)
{
    const QColor colour = QColor::fromRgb(rgb);
    if (widget->testAttribute(Qt::WA_SetPalette) &&
        widget->palette().color(QPalette::Text) == colour) {
        return;
    }
    QPalette palette;
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void SetFieldColours(QWidget* widget, std::optional<unsigned> text,
                     std::optional<unsigned> background)
{
    QPalette palette = widget->parentWidget() ? widget->parentWidget()->palette() : QPalette();
    if (text) {
        palette.setColor(QPalette::Text, QColor::fromRgb(*text));
        palette.setColor(QPalette::WindowText, QColor::fromRgb(*text));
    }
    if (background) {
        palette.setColor(QPalette::Base, QColor::fromRgb(*background));
    }
    if (!widget->testAttribute(Qt::WA_SetPalette) || widget->palette() != palette) {
        widget->setPalette(palette);
    }
}

void FollowParentColour(QWidget* widget)
{
    if (widget->testAttribute(Qt::WA_SetPalette)) {
        widget->setPalette(QPalette());
    }
}

namespace {

class ShortcutToolTips : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* button = qobject_cast<QToolButton*>(watched);
        const QAction* action = button ? button->defaultAction() : nullptr;
        if (event->type() != QEvent::ToolTip || !action || action->shortcut().isEmpty()) {
            return false;
        }
        QToolTip::showText(
            static_cast<QHelpEvent*>(event)->globalPos(),
            QStringLiteral("%1 (%2)").arg(action->toolTip(),
                                          action->shortcut().toString(QKeySequence::NativeText)),
            button);
        return true;
    }
};

} // namespace

void SetActionHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void ShowShortcutsInToolTips(QToolBar* toolBar)
{
    auto* tips = new ShortcutToolTips(toolBar);
    for (QToolButton* button : toolBar->findChildren<QToolButton*>()) {
        button->installEventFilter(tips);
    }
}

int TagOf(const QWidget* widget)
{
    return widget->property("tag").toInt();
}

void SetTag(QWidget* widget, int tag)
{
    widget->setProperty("tag", tag);
}

EditState EditStateOf(const QLineEdit* edit)
{
    if (edit->hasSelectedText()) {
        return {edit->text(), static_cast<int>(edit->selectionStart()),
                static_cast<int>(edit->selectedText().size())};
    }
    return {edit->text(), edit->cursorPosition(), 0};
}

bool ApplyKeyVerdict(QLineEdit* edit, const KeyVerdict& verdict)
{
    switch (verdict.action) {
    case KeyVerdict::Pass:
        return false;
    case KeyVerdict::Replace:
        edit->insert(QString(verdict.character));
        return true;
    case KeyVerdict::Swallow:
        return true;
    }
    return true;
}

bool LeavesWithinWindow(const QFocusEvent* event)
{
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
        return false;
    }
    // A drop-down list gives the focus to its own view with no reason of its own.
    const QWidget* next = QApplication::focusWidget();
    return !next || next->window()->windowType() != Qt::Popup;
}

void DropDownOnFocus(QComboBox* box)
{
    // After the focus change has settled, so that the list opening does not
    // interleave with it.
    QTimer::singleShot(0, box, [box] {
        if (box->isVisible() && box->hasFocus() && !box->view()->isVisible()) {
            box->showPopup();
        }
    });
}

AdmittedTextValidator::AdmittedTextValidator(QLineEdit* edit,
                                             std::function<bool(const QString&)> admits)
    : QValidator(edit), edit_(edit), admits_(std::move(admits))
{
}

QValidator::State AdmittedTextValidator::validate(QString& input, int&) const
{
    if (admits_(input)) {
        return Acceptable;
    }
    // What is left when one run of the field's text is removed.
    const QString& text = edit_->text();
    qsizetype kept = 0;
    while (kept < input.size() && kept < text.size() && input.at(kept) == text.at(kept)) {
        ++kept;
    }
    const bool deletion =
        input.size() < text.size() &&
        QStringView(input).mid(kept) == QStringView(text).right(input.size() - kept);
    return deletion ? Intermediate : Invalid;
}
