// HTML attachments in the real web engine (offscreen): what a page may run, and everything it must not
// reach. A loopback HTTP server started by each test counts every connection the engine makes.

#include "WebViewModule.h"

#include "content/VisualizationDocument.h"

#include <QApplication>
#include <QDesktopServices>
#include <QImage>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// Accepts connections on 127.0.0.1 and remembers the first line of what each one sent.
class LoopbackServer : public QObject
{
public:
    LoopbackServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++m_connections;
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_requests.append(QString::fromLatin1(socket->readLine().trimmed()));
                    socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
                    socket->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()); }
    quint16 port() const { return m_server.serverPort(); }
    int connections() const { return m_connections; }
    QStringList requests() const { return m_requests; }

private:
    QTcpServer m_server;
    int m_connections = 0;
    QStringList m_requests;
};

// Links handed to the default browser.
class BrowserStandIn : public QObject
{
    Q_OBJECT
public:
    BrowserStandIn()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    }
    ~BrowserStandIn() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

class VisualizationWebView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_engine.addImportPath(QStringLiteral("qrc:/"));
        WebViewModule::addTo(m_engine);
        m_window.resize(400, 440);
        m_window.show();
        m_window.requestActivate();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    // A view of `html` as the reader builds it (or, for `plain`, an ordinary web view of `url`).
    QObject *show(const QString &html)
    {
        QQmlComponent component(&m_engine);
        component.setData("import QtQuick\nimport TandrelNotch\nVisualizationWebView { width: 400; height: 420 }",
                          QUrl(QStringLiteral("qrc:/tests/AttachmentView.qml")));
        return place(component, {{QStringLiteral("html"), html}});
    }
    QObject *showPlain(const QUrl &url)
    {
        QQmlComponent component(&m_engine);
        component.setData("import QtQuick\nimport QtWebEngine\nWebEngineView { objectName: \"visualizationView\"; "
                          "width: 400; height: 420; profile: WebEngineProfile { offTheRecord: true } }",
                          QUrl(QStringLiteral("qrc:/tests/PlainView.qml")));
        return place(component, {{QStringLiteral("url"), url}});
    }
    QObject *place(QQmlComponent &component, const QVariantMap &properties)
    {
        std::unique_ptr<QObject> object(component.createWithInitialProperties(properties));
        EXPECT_TRUE(object) << qPrintable(component.errorString());
        if (!object)
            return nullptr;
        auto *item = qobject_cast<QQuickItem *>(object.get());
        item->setParentItem(m_window.contentItem());
        m_items.push_back(std::move(object));
        return item->objectName() == QLatin1String("visualizationView")
                   ? item
                   : item->findChild<QObject *>(QStringLiteral("visualizationView"));
    }
    void drop()
    {
        m_items.clear();
    }

    static QString title(QObject *view) { return view->property("title").toString(); }
    static bool waitForTitle(QObject *view, const std::function<bool(const QString &)> &done, int ms = 20000)
    {
        return QTest::qWaitFor([&] { return done(title(view)); }, ms);
    }

    QQmlEngine m_engine;
    QQuickWindow m_window;
    std::vector<std::unique_ptr<QObject>> m_items;
};

TEST_F(VisualizationWebView, InlineScriptRunsButNothingReachesTheNetworkAndNoWindowOpens)
{
    LoopbackServer server;
    BrowserStandIn browser;
    const QString base = server.base();
    const QString ws = QStringLiteral("ws://127.0.0.1:%1/socket").arg(server.port());
    const QString page =
        QStringLiteral(
            "<!doctype html><html><head><title>start</title></head><body>"
            "<img id=inline src=\"data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8"
            "z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg==\" onload=\"window.inlineImage = true\">"
            "<form id=form method=post action=\"%1form\"><input name=a value=b></form>"
            "<a id=link href=\"%1link\">link</a>"
            "<script>"
            "document.title = 'ran';"
            "try { fetch('%1fetch').catch(() => {}); } catch (e) {}"
            "try { const x = new XMLHttpRequest(); x.open('GET', '%1xhr'); x.send(); } catch (e) {}"
            "try { new WebSocket('%2'); } catch (e) {}"
            "try { navigator.sendBeacon('%1beacon', 'x'); } catch (e) {}"
            "const remote = new Image(); remote.src = '%1image.png'; document.body.appendChild(remote);"
            "document.body.insertAdjacentHTML('beforeend', '<iframe src=\"%1frame\"></iframe>');"
            "document.body.insertAdjacentHTML('beforeend', '<link rel=stylesheet href=\"%1style.css\">');"
            "try { window.open('%1popup'); } catch (e) {}"
            "setTimeout(() => { try { document.getElementById('form').submit(); } catch (e) {} }, 50);"
            "setTimeout(() => document.getElementById('link').click(), 100);"
            "setTimeout(() => { location.href = '%1location'; }, 150);"
            "setTimeout(() => { document.title = 'ran done' + (window.inlineImage ? ' image' : ''); }, 600);"
            "</script></body></html>")
            .arg(base, ws);

    QObject *view = show(page);
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitForTitle(view, [](const QString &t) { return t.startsWith(QLatin1String("ran done")); }))
        << qPrintable(title(view));
    // The inline script ran, the data: image loaded, and the view is still on its own document.
    EXPECT_EQ(title(view), QStringLiteral("ran done image"));
    EXPECT_EQ(view->property("url").toUrl().scheme(), QStringLiteral("tandrel-visualization"));
    // Whatever was attempted had its time to arrive.
    QTest::qWait(1500);
    EXPECT_EQ(server.connections(), 0) << qPrintable(server.requests().join(QLatin1Char(' ')));
    EXPECT_TRUE(browser.opened.isEmpty());

    // The server is reachable from the engine at all: an ordinary view gets through.
    QObject *plain = showPlain(QUrl(base + QStringLiteral("control")));
    ASSERT_TRUE(plain);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.connections() > 0; }, 20000));
}

TEST_F(VisualizationWebView, StorageAndCookiesDoNotOutliveTheirView)
{
    QObject *first = show(QStringLiteral(
        "<script>let s = 'none'; try { localStorage.setItem('k', 'kept'); s = 'stored'; } catch (e) { s = 'denied'; }"
        "document.cookie = 'c=kept'; document.title = 'first ' + s;</script>"));
    ASSERT_TRUE(first);
    ASSERT_TRUE(waitForTitle(first, [](const QString &t) { return t.startsWith(QLatin1String("first")); }));
    drop();

    QObject *second = show(QStringLiteral(
        "<script>let s = ''; try { s = String(localStorage.getItem('k')); } catch (e) { s = 'denied'; }"
        "document.title = 'second ' + s + ' [' + document.cookie + ']';</script>"));
    ASSERT_TRUE(second);
    ASSERT_TRUE(waitForTitle(second, [](const QString &t) { return t.startsWith(QLatin1String("second")); }));
    EXPECT_FALSE(title(second).contains(QLatin1String("kept"))) << qPrintable(title(second));
}

TEST_F(VisualizationWebView, AFourMebibyteAttachmentDisplays)
{
    QString filler;
    const QString paragraph = QStringLiteral("<p>Quarterly pulse, row after row of figures.</p>");
    while (filler.size() < 4 * 1024 * 1024)
        filler += paragraph;
    QObject *view = show(filler + QStringLiteral("<script>document.title = 'big ' + document.body.children.length;"
                                                 "</script>"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitForTitle(view, [](const QString &t) { return t.startsWith(QLatin1String("big ")); }, 60000));
    EXPECT_GT(title(view).mid(4).toInt(), 4 * 1024 * 1024 / paragraph.size());
}

TEST_F(VisualizationWebView, ALinkTheUserClicksOpensInTheBrowserAndTheViewStays)
{
    BrowserStandIn browser;
    QObject *view = show(QStringLiteral(
        "<body style=\"margin:0\" onmousedown=\"document.title='down'\"><a href=\"https://tandrel.example/report\" style=\"display:block;width:400px;"
        "height:420px\">report</a><script>document.title = 'ready';</script></body>"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitForTitle(view, [](const QString &t) { return t == QLatin1String("ready"); }));
    const auto click = [&] {
        m_window.grabWindow(); // a frame, so that the page has a surface to take input on
        QTest::mouseMove(&m_window, QPoint(200, 200));
        QTest::mouseClick(&m_window, Qt::LeftButton, {}, QPoint(200, 200));
        // A busy page takes a while to answer a click: give it a second before the next.
        return QTest::qWaitFor([&] { return !browser.opened.isEmpty(); }, 1000);
    };
    // The page may need a frame or two before it takes input, and many seconds under the sanitizers.
    const bool opened = QTest::qWaitFor(click, 90000);
    ASSERT_TRUE(opened) << qPrintable(title(view));
    EXPECT_EQ(browser.opened.first(), QUrl(QStringLiteral("https://tandrel.example/report")));
    EXPECT_EQ(view->property("url").toUrl().scheme(), QStringLiteral("tandrel-visualization"));
}

// A page with no styles of its own reads as in any browser: black text on white, even on the black card.
TEST_F(VisualizationWebView, AnUnstyledPageShowsBlackTextOnWhite)
{
    m_window.setColor(Qt::black); // the card behind the view
    QObject *view = show(QStringLiteral("<p>Quarterly pulse &#9608;&#9608;&#9608;&#9608;&#9608;&#9608;</p>"
                                        "<script>document.title = 'ready';</script>"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitForTitle(view, [](const QString &t) { return t == QLatin1String("ready"); }));
    // The paragraph's first line, inside the default 8-pixel margin, and a corner far from any text.
    const QRect textLine(8, 16, 260, 20);
    const QPoint blank(380, 400);
    QImage frame;
    int darkest = 255;
    const bool drawn = QTest::qWaitFor(
        [&] {
            frame = m_window.grabWindow();
            darkest = 255;
            for (int y = textLine.top(); y <= textLine.bottom(); ++y)
                for (int x = textLine.left(); x <= textLine.right(); ++x)
                    darkest = std::min(darkest, qGray(frame.pixel(x, y)));
            return darkest < 40 && frame.pixelColor(blank) == QColor(Qt::white);
        },
        20000);
    EXPECT_TRUE(drawn) << "blank " << qPrintable(frame.pixelColor(blank).name()) << ", darkest text " << darkest;
    // White between the letters too: the line is black on white, not black on black.
    int white = 0;
    for (int x = textLine.left(); x <= textLine.right(); ++x)
        white += frame.pixelColor(x, textLine.top()) == QColor(Qt::white);
    EXPECT_GT(white, textLine.width() / 2);
}

// Every dialog, picker and permission prompt the page asks for is answered in the view's own handlers,
// refused, and no window of any kind appears.
TEST_F(VisualizationWebView, DialogsPickersAndPermissionsAreRefusedAndOpenNoWindow)
{
    const auto windowsShowing = [] {
        int count = 0;
        for (QWindow *window : QGuiApplication::topLevelWindows())
            count += window->isVisible();
        return count;
    };
    QObject *view = show(QStringLiteral(
        "<body style=\"margin:0\">"
        "<input id=file type=file style=\"display:block;width:400px;height:140px\">"
        "<input id=colour type=color style=\"display:block;width:400px;height:140px\">"
        "<script>"
        "const seen = [];"
        "const note = s => { seen.push(s); document.title = seen.join(' '); };"
        "window.onbeforeunload = e => { e.preventDefault(); e.returnValue = 'stay'; return 'stay'; };"
        "note('alert:' + alert('Hello'));"
        "note('confirm:' + confirm('Sure?'));"
        "note('prompt:' + prompt('Name?', 'Mallory'));"
        "navigator.geolocation.getCurrentPosition(() => note('geolocation:granted'),"
        "                                         e => note('geolocation:' + e.code));"
        "Notification.requestPermission().then(p => note('notifications:' + p), () => note('notifications:error'));"
        "document.documentElement.requestFullscreen().then(() => note('fullscreen:granted'),"
        "                                                  () => note('fullscreen:refused'));"
        "</script></body>"));
    ASSERT_TRUE(view);
    QObject *sandbox = view->parent()->findChild<QObject *>(QStringLiteral("visualizationSandbox"));
    ASSERT_TRUE(sandbox);
    const QSignalSpy refusals(sandbox, SIGNAL(refused(QString)));
    const auto refused = [&] {
        QStringList kinds;
        for (const QList<QVariant> &arguments : refusals)
            kinds << arguments.at(0).toString();
        return kinds;
    };
    const int before = windowsShowing();

    // The script's own dialogs answer as a browser answers a user who cancels each.
    ASSERT_TRUE(waitForTitle(view, [](const QString &t) {
        return t.contains(QLatin1String("geolocation:")) && t.contains(QLatin1String("notifications:")) &&
               t.contains(QLatin1String("fullscreen:"));
    })) << qPrintable(title(view));
    EXPECT_TRUE(title(view).startsWith(QLatin1String("alert:undefined confirm:false prompt:null")))
        << qPrintable(title(view));
    EXPECT_TRUE(title(view).contains(QLatin1String("geolocation:1"))) << qPrintable(title(view));
    EXPECT_TRUE(title(view).contains(QLatin1String("notifications:denied"))) << qPrintable(title(view));
    EXPECT_TRUE(title(view).contains(QLatin1String("fullscreen:refused"))) << qPrintable(title(view));

    // The pickers open on a click of the user's, as in any page.
    const auto clickUntilRefused = [&](QPoint at, const QString &kind) {
        return QTest::qWaitFor(
            [&] {
                m_window.grabWindow(); // a frame, so that the page has a surface to take input on
                QTest::mouseClick(&m_window, Qt::LeftButton, {}, at);
                QTest::qWait(100);
                return refused().contains(kind);
            },
            10000);
    };
    EXPECT_TRUE(clickUntilRefused(QPoint(200, 70), QStringLiteral("file"))) << qPrintable(refused().join(u' '));
    EXPECT_TRUE(clickUntilRefused(QPoint(200, 210), QStringLiteral("colour"))) << qPrintable(refused().join(u' '));
    // The engine's own menu (back, reload, inspect) does not show either.
    QTest::mouseClick(&m_window, Qt::RightButton, {}, QPoint(200, 350));
    EXPECT_TRUE(QTest::qWaitFor([&] { return refused().contains(QLatin1String("contextMenu")); }, 5000))
        << qPrintable(refused().join(u' '));
    // Leaving the page asks the page first; the question is refused as well, and the page stays.
    QMetaObject::invokeMethod(view, "runJavaScript", Q_ARG(QString, QStringLiteral("window.kept = 'kept'; location.reload()")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return refused().contains(QLatin1String("beforeUnload")); }, 5000))
        << qPrintable(refused().join(u' '));
    QMetaObject::invokeMethod(view, "runJavaScript", Q_ARG(QString, QStringLiteral("document.title = 'still ' + window.kept")));
    EXPECT_TRUE(waitForTitle(view, [](const QString &t) { return t.startsWith(QLatin1String("still")); }, 5000));
    EXPECT_EQ(title(view), QStringLiteral("still kept"));

    // The notification prompt reaches the view and is denied there (the engine itself turns down the
    // position for a document of no origin, before anyone is asked).
    for (const QString &kind : {QStringLiteral("alert"), QStringLiteral("confirm"), QStringLiteral("prompt"),
                                QStringLiteral("permission")})
        EXPECT_TRUE(refused().contains(kind)) << qPrintable(kind) << ": " << qPrintable(refused().join(u' '));
    EXPECT_EQ(windowsShowing(), before);
    const QWidgetList widgets = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(widgets.cbegin(), widgets.cend(), [](const QWidget *w) { return w->isVisible(); }));
}

} // namespace

// The engine's requests come as objects (dialogs, menus) or as values (full screen, quota, protocol handlers):
// stand-ins of both kinds, named as the engine names its own.
class FakeFileDialogRequest : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool accepted MEMBER accepted)
public:
    bool accepted = false;
    int rejections = 0;
    Q_INVOKABLE void dialogReject() { ++rejections; }
    Q_INVOKABLE void dialogAccept() { rejections = -100; }
};

class FakeFullScreenRequest
{
    Q_GADGET
public:
    int *rejections = nullptr;
    Q_INVOKABLE void reject() { ++*rejections; }
    Q_INVOKABLE void accept() { *rejections = -100; }
};

TEST(VisualizationSandboxRefusal, ObjectRequestsAreTakenAndRejectedAndValueRequestsRejected)
{
    // The sandbox as the web view's module makes it (the program itself links none of the engine).
    QQmlEngine engine;
    WebViewModule::addTo(engine);
    QQmlComponent component(&engine);
    component.setData("import TandrelNotch.Web\nVisualizationSandbox {}", QUrl(QStringLiteral("qrc:/tests/Sandbox.qml")));
    const std::unique_ptr<QObject> sandbox(component.create());
    ASSERT_TRUE(sandbox) << qPrintable(component.errorString());
    QSignalSpy refused(sandbox.get(), SIGNAL(refused(QString)));
    const auto refuse = [&](const QVariant &request) {
        QMetaObject::invokeMethod(sandbox.get(), "refuse", Q_ARG(QVariant, request));
    };

    FakeFileDialogRequest dialog;
    refuse(QVariant::fromValue(static_cast<QObject *>(&dialog)));
    EXPECT_TRUE(dialog.accepted); // the engine shows nothing of its own
    EXPECT_EQ(dialog.rejections, 1);

    int rejections = 0;
    FakeFullScreenRequest fullScreen;
    fullScreen.rejections = &rejections;
    refuse(QVariant::fromValue(fullScreen));
    EXPECT_EQ(rejections, 1);

    refuse(QVariant(42)); // not a request: nothing to answer
    ASSERT_EQ(refused.size(), 2);
    EXPECT_EQ(refused.at(0).at(0).toString(), QStringLiteral("file"));
    EXPECT_EQ(refused.at(1).at(0).toString(), QStringLiteral("fullScreen"));
}

TEST(VisualizationDocumentText, ThePolicyComesFirstAndTheAttachmentFollowsUnchanged)
{
    const QString html = QStringLiteral("<!DOCTYPE html><head><title>x</title></head>\"&<");
    EXPECT_EQ(VisualizationDocument::wrap(html),
              QStringLiteral("<!doctype html><meta http-equiv=\"Content-Security-Policy\" content=\"") +
                  VisualizationDocument::policy + QStringLiteral("\">") + html);
}

#include "VisualizationWebViewTest.moc"
