#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says for every window what it cannot do; that is
// noise in a test log.
void DropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.startsWith(QLatin1String("This plugin does not support"))) {
        defaultHandler(type, context, text);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    defaultHandler = qInstallMessageHandler(DropPlatformNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);

    // A modal dialog that no test answers would block the run for ever: after
    // a while it fails the test and is closed.
    QTimer guard;
    QPointer<QWidget> lastDialog;
    int seconds = 0;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        seconds = dialog && dialog == lastDialog ? seconds + 1 : 0;
        lastDialog = dialog;
        if (seconds >= 15) {
            ADD_FAILURE() << "an unanswered dialog: " << dialog->windowTitle().toStdString();
            if (auto* modal = qobject_cast<QDialog*>(dialog)) {
                modal->reject();
            } else {
                dialog->close();
            }
        }
    });
    guard.start(1000);
    return RUN_ALL_TESTS();
}
