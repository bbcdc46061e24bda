#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tandrel Notch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TANDREL_VERSION));
    if (app.arguments().contains(QStringLiteral("--version"))) {
        QTextStream(stdout) << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
                            << Qt::endl;
        return 0;
    }
    return 0;
}
