#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QQuickItem>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <QQuickWebEngineProfile>
class QWebEngineUrlRequestInterceptor;
class QWebEngineUrlSchemeHandler;

// Serves one HTML attachment to one web view under the lock-down policy. The document is served from a
// scheme of the application's own, registered without privileges, so its origin is opaque and it may be as
// large as an attachment can be (a data: URL would stop at 2 MB). The view's profile gets a handler that
// serves only this document and an interceptor that refuses every other request, whatever the page tries.
class VisualizationSandbox : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // The view's own profile (a WebEngineProfile, off the record); set once.
    Q_PROPERTY(QObject *profile READ profile WRITE setProfile NOTIFY urlChanged)
    // The attachment's HTML; set once: later values do not reload the view.
    Q_PROPERTY(QString html READ html WRITE setHtml NOTIFY urlChanged)
    // The document's address, empty until profile and html are set.
    Q_PROPERTY(QUrl url READ url NOTIFY urlChanged)
public:
    static inline const QByteArray scheme = QByteArrayLiteral("tandrel-visualization");

    explicit VisualizationSandbox(QObject *parent = nullptr);
    ~VisualizationSandbox() override;

    QObject *profile() const { return m_profile; }
    void setProfile(QObject *profile);
    QString html() const { return m_html; }
    void setHtml(const QString &html);
    QUrl url() const { return m_url; }

    // Whether the view may go to `url`: only to its own document.
    Q_INVOKABLE bool allowsNavigation(const QUrl &url) const;
    // Whether a link should open in the default browser instead: a web link, followed right after the user
    // clicked or typed in the view (a page's script cannot open the browser on its own).
    Q_INVOKABLE bool opensInBrowser(const QUrl &url) const;
    // Watches the user's input on `view`, for opensInBrowser().
    Q_INVOKABLE void watchInput(QQuickItem *view);

    // Answers what the page asked the view for (a JavaScript dialog, a file or colour picker, a log-in,
    // a client certificate, full screen, a protocol handler, file system access, storage, the engine's
    // own context menu) with a refusal, here and at once, so that the engine shows nothing of its own.
    Q_INVOKABLE void refuse(const QVariant &request);
    // Records a refusal the view answered itself (a permission, which only the view can deny).
    Q_INVOKABLE void noteRefused(const QString &kind);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    void urlChanged();
    // A request of the page was refused: "alert", "confirm", "prompt", "beforeUnload", "file", "colour",
    // "authentication", "certificate", "fullScreen", "protocolHandler", "fileSystemAccess", "quota",
    // "contextMenu", "touchMenu", "permission", or the request's type name for anything else.
    void refused(const QString &kind);

private:
    void install();

    QPointer<QQuickWebEngineProfile> m_profile;
    QString m_html;
    bool m_htmlSet = false;
    QUrl m_url;
    QWebEngineUrlSchemeHandler *m_handler = nullptr;
    QWebEngineUrlRequestInterceptor *m_interceptor = nullptr;
    QPointer<QQuickItem> m_view;
    QElapsedTimer m_lastInput; // the user's last press or key in the view
};
