#include "VisualizationSandbox.h"

#include "content/VisualizationDocument.h"

#include <QBuffer>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QQuickWindow>
#include <QQuickWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

#include <iterator>
#include <utility>

namespace {

const QUrl documentUrl(QString::fromLatin1(VisualizationSandbox::scheme) + QStringLiteral(":document"));

// Answers the one document of its view; anything else on the scheme is refused.
class DocumentHandler final : public QWebEngineUrlSchemeHandler
{
public:
    DocumentHandler(QByteArray document, QObject *parent)
        : QWebEngineUrlSchemeHandler(parent), m_document(std::move(document))
    {
    }

    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        if (job->requestUrl() != documentUrl || job->requestMethod() != QByteArrayLiteral("GET")) {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        auto *buffer = new QBuffer(job);
        buffer->setData(m_document);
        buffer->open(QIODevice::ReadOnly);
        job->reply(QByteArrayLiteral("text/html;charset=utf-8"), buffer);
    }

private:
    const QByteArray m_document;
};

// Lets through the document itself and nothing else: behind the policy, a second wall that holds even
// against what the policy does not cover.
class DocumentOnly final : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        const bool allowed = url == documentUrl || url.scheme() == QLatin1String("data");
        if (!allowed)
            info.block(true);
    }
};

// What a request is, by the engine's name for its type.
QString requestKind(const QMetaObject *type, const QObject *request)
{
    static const std::pair<QLatin1String, QLatin1String> kinds[] = {
        {QLatin1String("FileDialog"), QLatin1String("file")},
        {QLatin1String("ColorDialog"), QLatin1String("colour")},
        {QLatin1String("AuthenticationDialog"), QLatin1String("authentication")},
        {QLatin1String("ClientCertificateSelection"), QLatin1String("certificate")},
        {QLatin1String("FullScreen"), QLatin1String("fullScreen")},
        {QLatin1String("RegisterProtocolHandler"), QLatin1String("protocolHandler")},
        {QLatin1String("FileSystemAccess"), QLatin1String("fileSystemAccess")},
        {QLatin1String("Quota"), QLatin1String("quota")},
        {QLatin1String("TouchSelectionMenu"), QLatin1String("touchMenu")},
        {QLatin1String("ContextMenu"), QLatin1String("contextMenu")},
    };
    const QLatin1String name(type->className());
    if (name.contains(QLatin1String("JavaScriptDialog")) && request) {
        // Alert, confirm, prompt and the question before leaving the page, in the engine's order.
        static const QLatin1String dialogs[] = {QLatin1String("alert"), QLatin1String("confirm"),
                                                QLatin1String("prompt"), QLatin1String("beforeUnload")};
        const int dialog = request->property("type").toInt();
        return dialog >= 0 && dialog < int(std::size(dialogs)) ? QString(dialogs[dialog]) : QString(name);
    }
    for (const auto &[part, kind] : kinds) {
        if (name.contains(part))
            return kind;
    }
    return name;
}

// Invokes the first of `methods` that `type` has, on an object or (with `object` null) on a value.
bool invokeFirst(const QMetaObject *type, QObject *object, void *value, std::initializer_list<const char *> methods)
{
    for (const char *signature : methods) {
        const int index = type->indexOfMethod(signature);
        if (index < 0)
            continue;
        const QMetaMethod method = type->method(index);
        return object ? method.invoke(object, Qt::DirectConnection) : method.invokeOnGadget(value);
    }
    return false;
}

// This module loads with the first attachment shown, before that attachment's view makes the engine start:
// the last moment at which the engine still takes a new scheme.
void registerScheme()
{
    QWebEngineUrlScheme documents(VisualizationSandbox::scheme);
    documents.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    documents.setFlags({});
    QWebEngineUrlScheme::registerScheme(documents);
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(registerScheme)

VisualizationSandbox::VisualizationSandbox(QObject *parent) : QObject(parent) {}

VisualizationSandbox::~VisualizationSandbox()
{
    if (m_view && m_view->window())
        m_view->window()->removeEventFilter(this);
    if (m_profile) {
        if (m_handler)
            m_profile->removeUrlSchemeHandler(m_handler);
        m_profile->setUrlRequestInterceptor(nullptr);
    }
}

void VisualizationSandbox::setProfile(QObject *object)
{
    auto *profile = qobject_cast<QQuickWebEngineProfile *>(object);
    if (m_profile || !profile)
        return;
    m_profile = profile;
    install();
}

void VisualizationSandbox::setHtml(const QString &html)
{
    if (m_htmlSet)
        return;
    m_htmlSet = true;
    m_html = html;
    install();
}

void VisualizationSandbox::install()
{
    if (!m_profile || !m_htmlSet || m_url.isValid())
        return;
    m_handler = new DocumentHandler(VisualizationDocument::wrap(m_html).toUtf8(), this);
    m_interceptor = new DocumentOnly(this);
    m_profile->installUrlSchemeHandler(scheme, m_handler);
    m_profile->setUrlRequestInterceptor(m_interceptor);
    m_url = documentUrl;
    Q_EMIT urlChanged();
}

bool VisualizationSandbox::allowsNavigation(const QUrl &url) const
{
    return m_url.isValid() && url == m_url;
}

bool VisualizationSandbox::opensInBrowser(const QUrl &url) const
{
    constexpr qint64 gestureWindowMs = 1000;
    const bool web = url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http");
    return web && m_lastInput.isValid() && m_lastInput.elapsed() <= gestureWindowMs;
}

void VisualizationSandbox::watchInput(QQuickItem *view)
{
    if (m_view || !view)
        return;
    m_view = view;
    // The engine's own items take the input, so it is watched where it arrives: at the window.
    if (view->window())
        view->window()->installEventFilter(this);
    connect(view, &QQuickItem::windowChanged, this, [this](QQuickWindow *window) {
        if (window)
            window->installEventFilter(this);
    });
}

void VisualizationSandbox::refuse(const QVariant &request)
{
    QString kind;
    if (request.metaType().flags().testFlag(QMetaType::PointerToQObject)) {
        QObject *object = request.value<QObject *>();
        if (!object)
            return;
        // Taken: the engine leaves its own dialog or menu unshown, and waits for our answer.
        if (object->metaObject()->indexOfProperty("accepted") >= 0)
            object->setProperty("accepted", true);
        invokeFirst(object->metaObject(), object, nullptr, {"dialogReject()", "selectNone()", "reject()"});
        kind = requestKind(object->metaObject(), object);
    } else if (const QMetaObject *type = request.metaType().metaObject()) {
        // The requests that come as values answer through any copy.
        QVariant value = request;
        invokeFirst(type, nullptr, value.data(), {"reject()"});
        kind = requestKind(type, nullptr);
    } else {
        return;
    }
    Q_EMIT refused(kind);
}

void VisualizationSandbox::noteRefused(const QString &kind)
{
    Q_EMIT refused(kind);
}

bool VisualizationSandbox::eventFilter(QObject *watched, QEvent *event)
{
    if (m_view && watched == m_view->window()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_view->contains(m_view->mapFromScene(mouse->scenePosition())))
                m_lastInput.start();
            break;
        }
        case QEvent::KeyPress:
            if (m_view->hasActiveFocus())
                m_lastInput.start();
            break;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}
