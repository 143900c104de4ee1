#include "random_user.h"

#include "window_model.h"
#include "window_test.h"
#include "workbench/widgets/up_down.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QWheelEvent>

namespace {

constexpr int AnswerIntervalMilliseconds = 5;
constexpr int AttemptsPerDialog = 4;

// Printable characters of every kind a student might type, beyond ASCII too.
const QString typedCharacters =
    QStringLiteral("abcdefgrxyzABCDEFGRXZ0123456789_.,@+-*/ ;:'\"!?#$%&()[]<>=~|\\^`{}éÄß中文€");

const Qt::Key specialKeys[] = {Qt::Key_Escape, Qt::Key_Return,   Qt::Key_Enter,  Qt::Key_Backspace,
                               Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Delete, Qt::Key_Left,
                               Qt::Key_Right,  Qt::Key_Up,       Qt::Key_Down,   Qt::Key_Home,
                               Qt::Key_End,    Qt::Key_PageDown, Qt::Key_F4,     Qt::Key_F2};

const QStringList clipboardTexts = {"999",    "12",           "ZZ", "R1,@20", "中文字", "-5",
                                    "7FFFFF", "AAAAAAAAAAAA", "",   " 1",     "0A\n0B"};

// Sample files for the dialogs, by name.
const std::pair<const char*, QByteArray> sampleFiles[] = {
    {"add.asm", "       START  10\r\n       LOAD   R1,05\r\n       LOAD   R2,03\r\n"
                "       ADD    R3,R1,R2\r\n       STORE  R3,@SUM\r\n       HALT\r\n"
                "SUM    DB     00\r\n"},
    {"loop.asm", "       START  00\r\n       LOAD   R1,01\r\nLOOP   ADD    R2,R2,R1\r\n"
                 "       STORE  R2,@80\r\n       JUMP   R0,@LOOP\r\n"},
    {"lf.asm", "       START  00\n       HALT\n"},
    {"long.asm", "LABEL12345 LOADA R1,@LABEL12345 and more on the same line\r\n\r\n"},
    {"empty.asm", ""},
    {"image.mm", "0 33\n1 1\n2 194\n3 0\n16 5\n"},
    {"bad.mm", "1 2\n300 1\nzz 4\n"},
    {"plain", "a file, not a folder"},
};

QString Describe(const QWidget* widget)
{
    if (!widget) {
        return "nothing";
    }
    return widget->objectName().isEmpty() ? widget->metaObject()->className()
                                          : widget->objectName();
}

QString KeyText(Qt::Key key)
{
    return QKeySequence(key).toString();
}

// Where the keyboard goes: an open pop-up, else the focus, else the window.
QWidget* KeyboardTarget(QWidget* window)
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        return popup->focusWidget() ? popup->focusWidget() : popup;
    }
    return QApplication::focusWidget() ? QApplication::focusWidget() : window;
}

void Press(QWidget* target, Qt::Key key, const QString& text,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::sendKeyEvent(QTest::Click, target, key, text, modifiers);
}

} // namespace

RandomUser::RandomUser(TMainForm& form, WindowModel& model, unsigned seed, const QString& folder)
    : form_(form), parts_(&form), model_(model), folder_(folder), random_(seed), answers_(seed + 1)
{
    for (const auto& [name, bytes] : sampleFiles) {
        QFile file(folder_.filePath(name));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
        }
    }
    folder_.mkdir("sub");
    std::mt19937 noise(seed);
    QByteArray bytes(2048, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(noise());
    }
    QFile binary(folder_.filePath("noise.bin"));
    if (binary.open(QIODevice::WriteOnly)) {
        binary.write(bytes);
    }

    WatchCommands();
    answerer_.setInterval(AnswerIntervalMilliseconds);
    QObject::connect(&answerer_, &QTimer::timeout, [this] { AnswerDialog(); });
    answerer_.start();
}

RandomUser::~RandomUser()
{
    answerer_.stop();
}

void RandomUser::Log(const QString& action)
{
    actions_ << action;
    if (actionStarts) {
        actionStarts(action);
    }
}

// Every command reports its start and end to the model: its handler is
// reconnected between two notes.
void RandomUser::WatchCommands()
{
    for (QAction* action : form_.findChildren<QAction*>()) {
        const QString name = action->objectName();
        // The examples' items share one handler, told which example to open.
        if (const QString example = action->data().toString(); !example.isEmpty()) {
            QObject::disconnect(action, &QAction::triggered, &form_, nullptr);
            QObject::connect(action, &QAction::triggered, &form_, [this, name, example] {
                model_.CommandStarts(name);
                form_.mnuFileExampleClick(example);
                model_.CommandEnds();
            });
            continue;
        }
        const QByteArray slot = (name + (name.startsWith("act") ? "Execute" : "Click")).toLatin1();
        if (form_.metaObject()->indexOfSlot(slot + "()") < 0) {
            continue;
        }
        QObject::disconnect(action, &QAction::triggered, &form_, nullptr);
        QObject::connect(action, &QAction::triggered, &form_, [this, name, slot] {
            model_.CommandStarts(name);
            QMetaObject::invokeMethod(&form_, slot.constData());
            model_.CommandEnds();
        });
    }
}

void RandomUser::Act()
{
    attempts_.clear();
    const int kind = Pick(100);
    // An open drop-down list is most often answered by a choice from it.
    if (kind >= 60 || !PickFromOpenList()) {
        ActOtherwise(kind);
    }
    if (!form_.isVisible()) {
        Log("show the window again");
        form_.show();
    }
    QTest::qWait(Pick(6));
    // As on a desktop, the window is active again once its dialogs and pop-ups
    // have closed (the offscreen platform may leave a closed menu active).
    if (!QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
        QApplication::activeWindow() != &form_) {
        QApplication::setActiveWindow(&form_);
    }
}

void RandomUser::ActOtherwise(int kind)
{
    if (kind < 14) {
        ClickGrid();
    } else if (kind < 20) {
        EnterLine();
    } else if (kind < 32) {
        ClickField();
    } else if (kind < 50) {
        Type();
    } else if (kind < 75) {
        RunCommand();
    } else if (kind < 82) {
        OpenMenu();
    } else if (kind < 85) {
        Scroll();
    } else if (kind < 89) {
        UseClipboard();
    } else if (kind < 90) {
        CloseWindow();
    } else {
        Log("wait");
        QTest::qWait(10 + Pick(60));
    }
}

void RandomUser::ClosePopups()
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        Log("click outside " + Describe(popup));
        popup->close();
    }
}

void RandomUser::ClickGrid()
{
    ClosePopups();
    QTableWidget* grid = parts_.sgrdCode;
    QWidget* viewport = grid->viewport();
    QPoint point(Pick(viewport->width()), Pick(viewport->height()));
    const QRect cell = grid->visualRect(grid->model()->index(Pick(grid->rowCount()), Pick(4)));
    if (!Chance(0.15) && viewport->rect().intersects(cell)) {
        point = cell.intersected(viewport->rect()).center();
    }
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton,  Qt::LeftButton,
                                       Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    ClickGridAt(point, buttons[Pick(6)]);
}

void RandomUser::ClickGridAt(QPoint point, Qt::MouseButton button)
{
    const QModelIndex index = parts_.sgrdCode->indexAt(point);
    Log(QString("click %1 on the grid at row %2, column %3")
            .arg(button == Qt::LeftButton    ? "left"
                 : button == Qt::RightButton ? "right"
                                             : "middle")
            .arg(index.isValid() ? QString::number(index.row() + 1) : "none")
            .arg(index.isValid() ? QString::number(index.column()) : "none"));
    QTest::mouseClick(parts_.sgrdCode->viewport(), button, {}, point);
}

// A line entered as a student would: a mnemonic picked for a row (mostly the
// last), then its operand, register by register, and a typed address, count
// or byte.
void RandomUser::EnterLine()
{
    ClosePopups();
    QTableWidget* grid = parts_.sgrdCode;
    const int row = Chance(0.7) ? grid->rowCount() - 1 : Pick(grid->rowCount());
    grid->scrollTo(grid->model()->index(row, 0));
    for (const int column : {2, 3}) {
        ClickGridAt(grid->visualRect(grid->model()->index(row, column)).center(), Qt::LeftButton);
        // A box that gets the focus drops its list once the focus has settled.
        for (int pick = 0; pick < 3; ++pick) {
            QTest::qWait(1);
            if (!PickFromOpenList()) {
                break;
            }
        }
    }
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        field && parts_.pnlOperand->isAncestorOf(field)) {
        const QStringList texts = {"20", "A", "7F", "3", "SUM", "LOOP+1", "1", "FF", "G"};
        const QString text = texts[Pick(texts.size())];
        Log(QString("type \"%1\" and Enter into %2").arg(text, field->objectName()));
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
}

// Clicks an item of the drop-down list that is open, or presses Esc in it.
bool RandomUser::PickFromOpenList()
{
    for (QComboBox* box : {parts_.cboOpcode, parts_.registerBoxes[0], parts_.registerBoxes[1],
                           parts_.registerBoxes[2]}) {
        QAbstractItemView* list = box->view();
        if (!list->isVisible()) {
            continue;
        }
        if (Chance(0.1)) {
            Log("press Esc in the list of " + box->objectName());
            QTest::keyClick(list, Qt::Key_Escape);
            return true;
        }
        const int item = Pick(box->count());
        Log(QString("pick %1 from %2").arg(box->itemText(item), box->objectName()));
        const QRect rect = list->visualRect(box->model()->index(item, 0));
        const QPoint centre(list->viewport()->width() / 2, rect.center().y());
        QTest::mouseMove(list->viewport(), centre);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        return true;
    }
    return false;
}

void RandomUser::ClickField()
{
    ClosePopups();
    QList<QWidget*> fields;
    if (parts_.pnlOperand->isVisible()) {
        for (QWidget* field : parts_.pnlOperand->findChildren<QWidget*>()) {
            if (field->isVisible() && field->parentWidget() == parts_.pnlOperand) {
                fields << field << field; // the open panel draws the eye
            }
        }
    }
    fields << parts_.txtStart << parts_.txtPC << parts_.registers[Pick(16)]
           << parts_.memory[Pick(32)] << parts_.memory[Pick(32)] << parts_.txtInterval
           << parts_.mmMessage << parts_.tabMM << parts_.udPC << parts_.udInterval;
    QWidget* field = fields[Pick(fields.size())];
    if (field == parts_.tabMM) {
        const int page = Pick(parts_.tabMM->count());
        Log(QString("click the memory tab %1").arg(parts_.tabMM->tabText(page)));
        QTest::mouseClick(parts_.tabMM, Qt::LeftButton, {}, parts_.tabMM->tabRect(page).center());
    } else if (auto* upDown = qobject_cast<TUpDown*>(field)) {
        const int step = Chance(0.5) ? 1 : -1;
        Log(QString("click %1 %2").arg(field->objectName(), step > 0 ? "up" : "down"));
        upDown->stepBy(step);
    } else {
        Log("click " + Describe(field));
        QTest::mouseClick(field, Qt::LeftButton, {},
                          QPoint(1 + Pick(qMax(1, field->width() - 2)), field->height() / 2));
    }
}

void RandomUser::Type()
{
    const int count = 1 + Pick(4);
    QStringList typed;
    for (int i = 0; i < count; ++i) {
        QWidget* target = KeyboardTarget(&form_);
        const QString into = Describe(target);
        if (Chance(0.35)) {
            const Qt::Key key = specialKeys[Pick(std::size(specialKeys))];
            typed << KeyText(key) + " into " + into;
            const char ascii = QTest::keyToAscii(key);
            Press(target, key, ascii ? QString(QLatin1Char(ascii)) : QString());
        } else {
            const QChar c = typedCharacters.at(Pick(typedCharacters.size()));
            const Qt::Key key =
                c.unicode() < 128 ? QTest::asciiToKey(char(c.unicode())) : Qt::Key_unknown;
            typed << QString("\"%1\" into %2").arg(c).arg(into);
            Press(target, key, QString(c));
        }
    }
    Log("type " + typed.join(", "));
}

void RandomUser::SetSpeed()
{
    const int position = Chance(0.5) ? 0 : Chance(0.6) ? 1 + Pick(3) : Pick(25);
    Log(QString("set the interval to %1").arg(position));
    parts_.txtInterval->setFocus(Qt::MouseFocusReason);
    parts_.txtInterval->selectAll();
    QTest::keyClicks(parts_.txtInterval, QString::number(position));
}

void RandomUser::RunCommand()
{
    ClosePopups();
    // The commands that take a program to the machine and run it come up
    // more often, so that runs are common.
    const QList<QAction*> preferred = {
        form_.actAssemblyRun,  form_.actAssemblyLoad, form_.actCpuRun,  form_.actCpuStep,
        form_.actCpuMicroStep, form_.actCpuHalt,      form_.actCpuReset};
    QList<QAction*> available;
    for (QAction* action : form_.findChildren<QAction*>()) {
        // The examples together come up about as often as one command.
        const bool example = !action->data().toString().isEmpty();
        if (example && Pick(10) != 0) {
            continue;
        }
        if (action->isEnabled() && !action->objectName().isEmpty() &&
            (action->objectName().startsWith("act") || action->objectName().startsWith("mnu"))) {
            for (int weight = preferred.contains(action) ? 6 : 1; weight > 0; --weight) {
                available << action;
            }
        }
    }
    QAction* action = available[Pick(available.size())];
    if (action == form_.actCpuRun && !parts_.tmrRunCpu->isActive() && Chance(0.7)) {
        SetSpeed();
    }
    Trigger(action);
}

void RandomUser::Trigger(QAction* action)
{
    QWidget* button = form_.ToolBar1->widgetForAction(action);
    if (button && button->isVisible() && Chance(0.3)) {
        Log("click the tool button of " + action->objectName());
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        Log("choose " + action->objectName());
        action->trigger();
    }
}

void RandomUser::OpenMenu()
{
    ClosePopups();
    QMenu* menus[] = {form_.mnuFile, form_.mnuEdit, form_.mnuAssembly, form_.mnuCpu,
                      form_.mnuOption};
    QMenu* menu = menus[Pick(std::size(menus))];
    if (Chance(0.5)) {
        Log("open and close " + menu->objectName());
        emit menu->aboutToShow();
        return;
    }
    Log("open " + menu->objectName());
    menu->popup(form_.mapToGlobal(QPoint(20, 20)));
    const QString keys = QStringLiteral("NOSAMLXIDRGHCTH");
    for (int i = Pick(3); i > 0 && menu->isVisible(); --i) {
        if (Chance(0.5)) {
            const QChar c = keys.at(Pick(keys.size()));
            Log(QString("press %1 in the menu").arg(c));
            QTest::keyClick(menu, QTest::asciiToKey(char(c.unicode())));
        } else {
            const Qt::Key key = Chance(0.7) ? Qt::Key_Down : Qt::Key_Return;
            Log("press " + KeyText(key) + " in the menu");
            QTest::keyClick(menu, key);
        }
    }
    if (menu->isVisible()) {
        Log("close " + menu->objectName());
        menu->close();
    }
}

// The grid's scroll bar dragged, or the mouse wheel turned over a control
// that takes it (the wheel also turns a drop-down box or the memory tabs).
void RandomUser::Scroll()
{
    if (Chance(0.5)) {
        QScrollBar* bar = parts_.sgrdCode->verticalScrollBar();
        const int value = Pick(bar->maximum() + 1);
        Log(QString("scroll the grid to row %1").arg(value + 1));
        bar->setValue(value);
        return;
    }
    QList<QWidget*> targets = {parts_.sgrdCode->viewport(), parts_.udPC, parts_.udInterval,
                               parts_.tabMM};
    for (QComboBox* box : {parts_.cboOpcode, parts_.registerBoxes[0], parts_.registerBoxes[1],
                           parts_.registerBoxes[2]}) {
        if (box->isVisible()) {
            targets << box;
        }
    }
    QWidget* target = targets[Pick(targets.size())];
    const int delta = Chance(0.5) ? 120 : -120;
    Log(QString("turn the wheel %1 over %2").arg(delta > 0 ? "up" : "down", Describe(target)));
    const QPointF centre = QRectF(target->rect()).center();
    QWheelEvent wheel(centre, target->mapToGlobal(centre), {}, {0, delta}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

void RandomUser::UseClipboard()
{
    if (Chance(0.5)) {
        const QString text = clipboardTexts[Pick(clipboardTexts.size())];
        Log(QString("put \"%1\" on the clipboard").arg(text));
        QApplication::clipboard()->setText(text);
    }
    const QString keys = QStringLiteral("VVVCXZZYANOS");
    const QChar c = keys.at(Pick(keys.size()));
    QWidget* target = KeyboardTarget(&form_);
    Log(QString("press Ctrl+%1 in %2").arg(c).arg(Describe(target)));
    Press(target, QTest::asciiToKey(char(c.toLower().unicode())), QString(), Qt::ControlModifier);
}

void RandomUser::CloseWindow()
{
    ClosePopups();
    Log("close the window");
    model_.CommandStarts("close");
    form_.close();
    model_.CommandEnds();
}

QString RandomUser::FileToChoose(bool saving)
{
    auto pick = [this](const QStringList& names) {
        return names[std::uniform_int_distribution<int>(0, names.size() - 1)(answers_)];
    };
    const QStringList existing =
        folder_.entryList(QDir::Files | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot);
    const int number = std::uniform_int_distribution<int>(0, 20)(answers_);
    QStringList names = {pick(existing), pick(existing), "missing.asm", "sub"};
    if (saving) {
        names << QString("p%1").arg(number) << QString("p%1.asm").arg(number)
              << QString("m%1.mm").arg(number) << QString("sub/q%1.asm").arg(number)
              << "plain/x.asm"
              << "/proc/mira.asm";
    } else {
        names << "/proc/self/mem";
    }
    const QString name = pick(names);
    return name.startsWith('/') ? name : folder_.filePath(name);
}

// Answers the modal dialog that shows with any answer it takes. The answer is
// given from a timer of its own: answering may show another dialog (the
// question before a file is replaced), whose loop the polling timer must be
// free to serve.
void RandomUser::AnswerDialog()
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible() || attempts_[dialog] < 0) {
        return;
    }
    const int given = std::exchange(attempts_[dialog], -1);
    QTimer::singleShot(0, &answerer_, [this, dialog = QPointer<QWidget>(dialog), given] {
        if (dialog && dialog->isVisible()) {
            Answer(dialog, given);
        }
        // A dialog still showing is answered again, a few times at most.
        attempts_[dialog] = given + 1;
    });
}

void RandomUser::Answer(QWidget* dialog, int given)
{
    auto draw = [this](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(answers_);
    };
    const QString title = dialog->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        const QList<QAbstractButton*> buttons = box->buttons();
        QAbstractButton* button = buttons[draw(buttons.size())];
        Log(QString("answer \"%1\" with %2").arg(box->text().section('\n', 0, 0), button->text()));
        model_.PromptAnswered(box->text(), box->standardButton(button));
        button->click();
    } else if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
        if (given == 0) {
            model_.DialogShown(title);
        }
        if (given >= AttemptsPerDialog || draw(7) == 0) {
            Log("cancel " + title);
            files->reject();
        } else {
            if (draw(2) == 0) {
                const QStringList filters = files->nameFilters();
                files->selectNameFilter(filters.value(draw(filters.size())));
            }
            const QString name = FileToChoose(files->acceptMode() == QFileDialog::AcceptSave);
            Log(QString("choose %1 in %2 (%3)").arg(name, title, files->selectedNameFilter()));
            AcceptFileName(files, name);
        }
    } else if (auto* colours = qobject_cast<QColorDialog*>(dialog)) {
        if (draw(2) == 0) {
            const QColor colour = QColor::fromRgb(draw(256), draw(256), draw(256));
            Log("choose the colour " + colour.name());
            colours->setCurrentColor(colour);
            colours->accept();
        } else {
            Log("cancel the colour dialog");
            colours->reject();
        }
    } else if (auto* other = qobject_cast<QDialog*>(dialog)) {
        Log("close the dialog " + title);
        other->reject();
    } else {
        Log("close " + Describe(dialog));
        dialog->close();
    }
}
