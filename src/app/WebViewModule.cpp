#include "WebViewModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QQmlEngine>

#include <unistd.h>

void WebViewModule::prepareApplication()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The engine's own sandbox refuses to start for root; a root session (a container, a CI machine) runs
    // the engine without it rather than not at all. Set while this process has a single thread.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QString WebViewModule::importPath()
{
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                              QStringLiteral(TANDREL_PLUGIN_QML_FROM_BINDIR));
    if (QFileInfo::exists(installed + QStringLiteral("/TandrelNotch/Web/qmldir")))
        return installed;
    return QStringLiteral(TANDREL_PLUGIN_QML_BUILD_DIR);
}

void WebViewModule::addTo(QQmlEngine &engine)
{
    // Searched in the list's order: the module's folder comes last, behind the application's own modules.
    QStringList paths = engine.importPathList();
    paths.append(importPath());
    engine.setImportPathList(paths);
}
