#include "workbench/window/main_form.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The standard dialogs speak the window's language, whatever the locale.
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_zh_TW"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
    TMainForm window;
    window.FitToScreen();
    window.show();
    window.FitToScreen(); // once more with the frame the window system gave it
    return QApplication::exec();
}
