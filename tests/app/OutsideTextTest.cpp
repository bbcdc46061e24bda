// Text from outside (the tool, the demo data, the user) is shown as typed, never read as markup: a sender or
// subject holding tags draws its characters, and an image tag in it loads nothing.

#include "AppTestSupport.h"
#include "NotchPanel.h"
#include "ViewStates.h"
#include "VirtualScheduler.h"

#include "inbox/Inbox.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

void texts(QQuickItem *item, QList<QQuickItem *> &found)
{
    if (!item || !item->isVisible())
        return;
    if (item->inherits("QQuickText"))
        found.append(item);
    for (QQuickItem *child : item->childItems())
        texts(child, found);
}

class OutsideText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        QObject::connect(&server, &QTcpServer::newConnection, [this] { ++requests; });
        AppDelegate::Options options = ViewStates::options(ViewStates::Launch::demo, clock);
        options.trayAvailable = [] { return false; };
        app = std::make_unique<AppDelegate>(std::move(options));
        app->applicationDidFinishLaunching();
        settle();
    }
    void TearDown() override { app.reset(); }
    void settle() { settlePanel(clock, *app); }
    QString tracker() const { return QStringLiteral("http://127.0.0.1:%1/x.png").arg(server.serverPort()); }

    // Every visible text item showing `typed`: each shows it as plain text. Returns how many there are.
    int checkShownAsTyped(const QString &typed)
    {
        QList<QQuickItem *> found;
        texts(app->panel()->contentItem(), found);
        int showing = 0;
        for (QQuickItem *text : found) {
            const QString shown = text->property("text").toString();
            const int format = text->property("textFormat").toInt();
            if (shown.contains(typed)) {
                ++showing;
                EXPECT_EQ(format, 0) << qPrintable(text->objectName() + QStringLiteral(": ") + shown);
            }
            // Styled text is ours: the message's markup reaches it only escaped.
            if (format != 0) {
                EXPECT_FALSE(shown.contains(QLatin1String("<img"))) << qPrintable(shown);
                EXPECT_FALSE(shown.contains(QLatin1String("<b>Bold"))) << qPrintable(shown);
            }
        }
        return showing;
    }

    VirtualScheduler clock;
    QTcpServer server;
    int requests = 0;
    std::unique_ptr<AppDelegate> app;
};

TEST_F(OutsideText, MarkupInASenderOrSubjectShowsAsTypedInTheRowTheReaderAndTheChat)
{
    const QString sender = QStringLiteral("Mallory <b>Bold</b> &lt;");
    const QString subject = QStringLiteral("Logo <img src=\"%1\"> inside").arg(tracker());
    Inbox &inbox = app->inbox();
    QList<Message> messages = inbox.messages();
    int personal = -1;
    int chat = -1;
    for (int i = 0; i < messages.size(); ++i) {
        if (personal < 0 && messages[i].scope.isPersonal())
            personal = i;
        if (chat < 0 && !messages[i].scope.isPersonal() && messages[i].kind == ConversationKind::direct)
            chat = i;
    }
    ASSERT_GE(personal, 0);
    ASSERT_GE(chat, 0);
    for (const int i : {personal, chat}) {
        messages[i].sender = sender;
        messages[i].subject = subject;
        messages[i].body = QStringLiteral("Body with <img src=\"%1\"> and <b>Bold</b>.").arg(tracker());
    }
    inbox.setMessages(messages);
    ViewStates::reset(*app);
    settle();

    EXPECT_GE(checkShownAsTyped(sender), 1) << "the row";
    EXPECT_GE(checkShownAsTyped(subject), 1) << "the row's preview";

    inbox.select(inbox.messages().at(personal));
    settle();
    EXPECT_GE(checkShownAsTyped(sender), 1) << "the reader";
    EXPECT_GE(checkShownAsTyped(subject), 1) << "the reader's subject";

    inbox.switchScope(inbox.messages().at(chat).scope);
    inbox.select(inbox.messages().at(chat));
    settle();
    EXPECT_GE(checkShownAsTyped(subject), 1) << "the chat's subject";

    // Nothing asked the loopback server for the image, even after a few more frames.
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(20);
        settle();
    }
    EXPECT_EQ(requests, 0);
}

TEST_F(OutsideText, TheViewsEngineRefusesEveryNetworkRequest)
{
    QQmlEngine *engine = qmlEngine(app->panel()->rootView());
    ASSERT_TRUE(engine);
    QNetworkAccessManager *network = engine->networkAccessManager();
    ASSERT_TRUE(network);
    std::unique_ptr<QNetworkReply> reply(network->get(QNetworkRequest(QUrl(tracker()))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reply->isFinished(); }, 5000));
    EXPECT_NE(reply->error(), QNetworkReply::NoError);
    EXPECT_EQ(requests, 0);
}

} // namespace
