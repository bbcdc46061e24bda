// The application as its entry point runs it, which also tells where its "Download visualization" button is
// once the button shows, scrolled into the reader's view, and stands still: one line "downloadButton X Y" on
// standard output, in screen coordinates. For the tests that press the button with the X server's own
// pointer.

#include "AppDelegate.h"
#include "NotchApplication.h"
#include "NotchPanel.h"
#include "WebViewModule.h"

#include "liveinbox/SystemScheduler.h"

#include <QApplication>
#include <QQuickItem>
#include <QTimer>

#include <cstdio>

namespace {

// The visible item named `name` in the tree under `item` (delegates have no QObject parent to find them by).
QQuickItem *findShown(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name && item->isVisible())
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findShown(child, name))
            return found;
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    WebViewModule::prepareApplication();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    SystemScheduler scheduler;
    NotchApplication notch(QApplication::arguments(), scheduler);
    if (const std::optional<int> status = notch.start())
        return *status;
    if (!notch.delegate() || !notch.delegate()->panel() || !notch.delegate()->panel()->rootView())
        return 3;
    QQuickItem *root = notch.delegate()->panel()->rootView();
    // Polled rather than signalled: the button appears with the attachment and settles with the card.
    QTimer poll;
    QPointF last(-1, -1);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto *button = findShown(root, QStringLiteral("downloadButton"));
        if (!button || !button->isVisible() || button->width() <= 0)
            return;
        const QPointF centre = button->mapToGlobal(QPointF(button->width() / 2, button->height() / 2));
        // Built ahead of the scrolling is not shown yet.
        if (auto *list = findShown(root, QStringLiteral("detailList"))) {
            if (!list->contains(list->mapFromGlobal(centre)))
                return;
        }
        if (centre != last) {
            last = centre;
            return;
        }
        std::printf("downloadButton %d %d\n", int(centre.x()), int(centre.y()));
        std::fflush(stdout);
        poll.stop();
    });
    poll.start(250);
    return app.exec();
}
