// Renders the window as a student sees it in the middle of a run, for the
// README: zoomed in by some steps, if asked, an example program opened,
// assembled, loaded, given two breakpoints and run until the first of them
// pauses it; a program that does not assemble shows its errors instead.
#include "window_test.h"
#include "workbench/editor/program_editor.h"

#include <QFileDialog>
#include <QLibraryInfo>
#include <QTableWidget>
#include <QTimer>
#include <QTranslator>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 3 && argc != 4) {
        qCritical("usage: mira_screenshot PROGRAM.asm OUTPUT.png [ZOOM-STEPS]");
        return 64;
    }
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_zh_TW"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
    TMainForm form;
    form.show();
    form.FitToScreen();
    (void)QTest::qWaitForWindowExposed(&form);
    for (int step = argc == 4 ? std::atoi(argv[3]) : 0; step > 0; --step) {
        form.actOptionZoomIn->trigger();
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    QTimer::singleShot(100, [&form, program] {
        AcceptFileName(form.findChild<QFileDialog*>("OpenDialog"), program);
    });
    form.actFileOpenExecute();
    form.actAssemblyRunExecute();
    if (!form.actAssemblyLoad->isEnabled()) { // the log shows why
        QTest::qWait(200);
        return form.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    form.actAssemblyLoadExecute();
    auto* grid = form.findChild<QTableWidget*>("sgrdCode");
    for (const int row : {6, 8}) {
        grid->setCurrentCell(row, 1);
        form.findChild<TProgramEditor*>()->ToggleBreakpoint(row);
    }
    grid->clearSelection();
    form.findChild<QLineEdit*>("txtInterval")->setText("0");
    auto* timer = form.findChild<QTimer*>("tmrRunCpu");
    for (int pause = 0; pause < 3; ++pause) {
        form.actCpuRunExecute();
        (void)QTest::qWaitFor([timer] { return !timer->isActive(); });
    }
    QTest::qWait(200);
    return form.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
