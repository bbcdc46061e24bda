// Renders the panel's views in a fixed list of named states to PNG files, for reviewers:
//   tandrel-render-states OUTPUT_DIR
// It runs the real shell on Qt's offscreen platform, once on the demo data and once on a live-like inbox
// fed a fixed snapshot (no service is contacted). Open menus are drawn onto the picture where they open.

#include "AppDelegate.h"
#include "NotchPanel.h"
#include "Translations.h"
#include "ViewStates.h"
#include "views/PanelMenu.h"
#include "WebViewModule.h"

#include "liveinbox/SystemScheduler.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QMenu>
#include <QPainter>
#include <QQuickItem>

#include <cstdio>
#include <functional>

namespace {

class Renderer
{
public:
    explicit Renderer(QDir out) : m_out(std::move(out)) {}

    std::unique_ptr<AppDelegate> launch(ViewStates::Launch launch)
    {
        auto app = std::make_unique<AppDelegate>(ViewStates::options(launch, m_scheduler));
        app->applicationDidFinishLaunching();
        settle(*app);
        return app;
    }

    // Lets the model and the views catch up, and the short view animations (a few hundred milliseconds of
    // real time) finish.
    void settle(AppDelegate &app)
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        app.panel()->grabWindow();
        QEventLoop wait;
        QTimer::singleShot(350, &wait, &QEventLoop::quit);
        wait.exec();
        app.panel()->grabWindow();
    }

    // Sets the state up, then saves the panel (with any open menu drawn where it opened).
    void shot(AppDelegate &app, const ViewStates::State &state)
    {
        ViewStates::reset(app);
        settle(app);
        state.setUp(app);
        settle(app);
        if (state.showsWebView)
            waitForWeb(app);
        if (!state.openMenuOf.isEmpty()) {
            if (QQuickItem *item = ViewStates::find(app, state.openMenuOf))
                QMetaObject::invokeMethod(item, "clicked");
            settle(app);
        }
        QImage image = app.panel()->grabWindow().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QList<PanelMenu *> menus = PanelMenu::activity().openMenus();
        if (!menus.isEmpty() && menus.first()->menu()) {
            QMenu *menu = menus.first()->menu();
            QPainter painter(&image);
            painter.drawPixmap(menu->geometry().topLeft() - app.panel()->geometry().topLeft(), menu->grab());
            painter.end();
            menus.first()->close();
            settle(app);
        }
        if (state.croppedToSurface) {
            constexpr int margin = 16;
            const QSize surface = app.presentedSize().toSize() * image.devicePixelRatio();
            const QRect around((image.width() - surface.width()) / 2 - margin, 0, surface.width() + 2 * margin,
                               surface.height() + margin);
            image = image.copy(around.intersected(image.rect()));
        }
        const QString path = m_out.filePath(state.name + QStringLiteral(".png"));
        if (!image.save(path))
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        else
            std::printf("%s\n", qPrintable(path));
    }

    // Waits (a few seconds at most) until every web view has loaded and drawn.
    void waitForWeb(AppDelegate &app)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 8000) {
            QQuickItem *view = ViewStates::find(app, QStringLiteral("visualizationView"));
            if (view && !view->property("loading").toBool() && view->property("loadProgress").toInt() == 100)
                break;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        const QDeadlineTimer drawn(1500);
        while (!drawn.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

private:
    SystemScheduler m_scheduler;
    QDir m_out;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TANDREL_REDUCE_MOTION", "1");
    WebViewModule::prepareApplication(); // before the application object
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    // In the user's language, so a translation can be looked at too.
    Translations translations;
    translations.install();
    Renderer renderer(out);
    // One shell per launch, kept while the states that run on it follow one another.
    std::unique_ptr<AppDelegate> app;
    std::optional<ViewStates::Launch> running;
    for (const ViewStates::State &state : ViewStates::all()) {
        if (running != state.launch) {
            app.reset();
            app = renderer.launch(state.launch);
            running = state.launch;
        }
        renderer.shot(*app, state);
    }
    return 0;
}
