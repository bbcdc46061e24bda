#include "Translations.h"
#include "WebViewModule.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The application's tests run the real shell on Qt's offscreen platform: no display is needed.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    // Motion follows each test's own choice, never the desktop the tests happen to run on.
    qputenv("TANDREL_REDUCE_MOTION", "1");
    const QTemporaryDir runtime; // private, as the runtime directory must be
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    WebViewModule::prepareApplication(); // before the application object
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The texts are the English ones, whatever the machine's language.
    Translations translations;
    translations.install(QLocale(QLocale::English));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
