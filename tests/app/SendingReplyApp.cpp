// The application as its entry point runs it, which sends a reply to the first message it shows and keeps
// it sending: for the tests that end the application by a signal in the middle of a reply.

#include "AppDelegate.h"
#include "NotchApplication.h"
#include "WebViewModule.h"

#include "liveinbox/SystemScheduler.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    WebViewModule::prepareApplication();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    SystemScheduler scheduler;
    NotchApplication notch(QApplication::arguments(), scheduler);
    if (const std::optional<int> status = notch.start())
        return *status;
    if (!notch.delegate())
        return 3;
    Inbox &inbox = notch.delegate()->inbox();
    bool sent = false;
    QObject::connect(&inbox, &Inbox::messagesChanged, &inbox, [&inbox, &sent] {
        if (sent || inbox.messages().isEmpty())
            return;
        sent = true;
        const Message message = inbox.messages().first();
        inbox.setReplyDraft(inbox.threadKey(message), QStringLiteral("On my way."));
        inbox.sendReply(message);
    });
    return app.exec();
}
