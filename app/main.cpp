#include "workbench/main_form.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
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
    window.adjustSize();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
