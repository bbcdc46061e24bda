// HTML attachments in the real web engine (offscreen): what a page may run, and everything it must not
// reach. A loopback HTTP server started by each test counts every connection the engine makes.

#include "content/VisualizationDocument.h"

#include <QDesktopServices>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

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
        return !browser.opened.isEmpty();
    };
    // The page may need a frame or two before it takes input, and many seconds under the sanitizers.
    const bool opened = QTest::qWaitFor(click, 60000);
    ASSERT_TRUE(opened) << qPrintable(title(view));
    EXPECT_EQ(browser.opened.first(), QUrl(QStringLiteral("https://tandrel.example/report")));
    EXPECT_EQ(view->property("url").toUrl().scheme(), QStringLiteral("tandrel-visualization"));
}

} // namespace

TEST(VisualizationDocumentText, ThePolicyComesFirstAndTheAttachmentFollowsUnchanged)
{
    const QString html = QStringLiteral("<!DOCTYPE html><head><title>x</title></head>\"&<");
    EXPECT_EQ(VisualizationDocument::wrap(html),
              QStringLiteral("<!doctype html><meta http-equiv=\"Content-Security-Policy\" content=\"") +
                  VisualizationDocument::policy + QStringLiteral("\">") + html);
}

#include "VisualizationWebViewTest.moc"
