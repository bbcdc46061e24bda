#include "NotchPanel.h"

#include "ReduceMotionSetting.h"
#include "WebViewModule.h"
#include "X11Window.h"

#include "inbox/Inbox.h"
#include "views/OfflineNetworkAccessManager.h"
#include "views/SymbolImageProvider.h"

#include <QPainterPath>
#include <QQmlComponent>
#include <QRegion>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSurfaceFormat>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <cmath>

Q_IMPORT_QML_PLUGIN(TandrelNotchPlugin)

namespace {

// The outline of a rectangle with its own radius for the top and for the bottom corners, as a polygon.
QPolygon roundedOutline(const QRectF &r, double top, double bottom)
{
    const double limit = std::min(r.width(), r.height()) / 2;
    top = std::clamp(top, 0.0, limit);
    bottom = std::clamp(bottom, 0.0, limit);
    QPainterPath path;
    path.moveTo(r.left() + top, r.top());
    path.lineTo(r.right() - top, r.top());
    path.arcTo(QRectF(r.right() - 2 * top, r.top(), 2 * top, 2 * top), 90, -90);
    path.lineTo(r.right(), r.bottom() - bottom);
    path.arcTo(QRectF(r.right() - 2 * bottom, r.bottom() - 2 * bottom, 2 * bottom, 2 * bottom), 0, -90);
    path.lineTo(r.left() + bottom, r.bottom());
    path.arcTo(QRectF(r.left(), r.bottom() - 2 * bottom, 2 * bottom, 2 * bottom), 270, -90);
    path.lineTo(r.left(), r.top() + top);
    path.arcTo(QRectF(r.left(), r.top(), 2 * top, 2 * top), 180, -90);
    path.closeSubpath();
    return path.toFillPolygon().toPolygon();
}

} // namespace

NotchPanel::NotchPanel(Inbox &inbox, ReduceMotionSetting *motionSetting, QWindow *parent)
    : QQuickWindow(parent), m_engine(std::make_unique<QQmlEngine>())
{
    setTitle(tr("Tandrel Notch"));
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    QSurfaceFormat surfaceFormat = format();
    surfaceFormat.setAlphaBufferSize(8);
    setFormat(surfaceFormat);
    setColor(Qt::transparent);
    resize(panelSize, panelSize);
    // The window-manager state has to be on the window before it is first mapped.
    create();
    X11Window::setPanelHints(winId());
    m_composited = !X11Window::available() || X11Window::compositingManagerRunning();

    m_engine->addImportPath(QStringLiteral("qrc:/"));
    WebViewModule::addTo(*m_engine);
    m_engine->setNetworkAccessManagerFactory(&m_networkAccess);
    m_engine->addImageProvider(SymbolImageProvider::providerName, new SymbolImageProvider);
    QQmlComponent component(m_engine.get(), QUrl(QStringLiteral("qrc:/TandrelNotch/NotchView.qml")));
    const QVariantMap initial{
        {QStringLiteral("inbox"), QVariant::fromValue(&inbox)},
        {QStringLiteral("reduceMotion"), motionSetting ? motionSetting->reduceMotion() : false}};
    QObject *object = component.createWithInitialProperties(initial);
    m_root = qobject_cast<QQuickItem *>(object);
    if (!m_root) {
        m_loadError = component.errorString();
        delete object;
        return;
    }
    QQmlEngine::setObjectOwnership(m_root, QQmlEngine::CppOwnership);
    if (motionSetting) {
        connect(motionSetting, &ReduceMotionSetting::reduceMotionChanged, m_root, [root = m_root, motionSetting] {
            root->setProperty("reduceMotion", motionSetting->reduceMotion());
        });
    }
    m_root->setParentItem(contentItem());
    connect(m_root, SIGNAL(presentedSizeChange(QSizeF)), this, SLOT(rootPresentedSizeChange(QSizeF)));
    connect(m_root, SIGNAL(exitCommand()), this, SIGNAL(exitCommand()));
    connect(m_root, SIGNAL(menuRequest(QPointF)), this, SLOT(rootMenuRequest(QPointF)));
    connect(this, &QQuickWindow::frameSwapped, this, [this] {
        if (!m_firstFrame)
            return;
        m_firstFrame = false;
        Q_EMIT firstFrameSwapped();
    });
}

NotchPanel::~NotchPanel()
{
    // The views go before the engine that made them.
    delete m_root.data();
}

void NotchPanel::rootPresentedSizeChange(QSizeF size)
{
    Q_EMIT presentedSizeChanged(size);
}

void NotchPanel::rootMenuRequest(QPointF position)
{
    Q_EMIT menuRequested(mapToGlobal(position.toPoint()));
}

void NotchPanel::setSuppressed(bool suppressed)
{
    if (m_suppressed == suppressed)
        return;
    m_suppressed = suppressed;
    if (m_root)
        m_root->setVisible(!suppressed);
    applyShapes();
}

void NotchPanel::runFromKeyboard(const std::function<void()> &change)
{
    if (m_root)
        m_root->setProperty("keyboardTransaction", true);
    change();
    if (m_root)
        m_root->setProperty("keyboardTransaction", false);
}

void NotchPanel::setPresentedRegion(QSizeF presentedSize, double margin, double topRadius, double bottomRadius)
{
    if (presentedSize == m_drawnSize && margin == m_drawnMargin && topRadius == m_topRadius &&
        bottomRadius == m_bottomRadius)
        return;
    m_drawnSize = presentedSize;
    m_drawnMargin = margin;
    m_topRadius = topRadius;
    m_bottomRadius = bottomRadius;
    applyShapes();
}

void NotchPanel::applyShapes()
{
    const double w = m_drawnSize.width();
    const double h = m_drawnSize.height();
    const QRectF window(0, 0, width(), height());
    QRectF surface;
    if (w > 0 && h > 0 && !m_suppressed)
        surface = QRectF(window.center().x() - w / 2, 0, w, h);
    m_inputRegion = surface.isEmpty() ? QRectF()
                                      : surface.adjusted(-m_drawnMargin, 0, m_drawnMargin, m_drawnMargin) & window;
    if (!X11Window::available() || !handle())
        return;

    const double ratio = devicePixelRatio();
    const auto devicePixels = [ratio](const QRectF &r) {
        return QRect(QPoint(int(std::floor(r.left() * ratio)), int(std::floor(r.top() * ratio))),
                     QPoint(int(std::ceil(r.right() * ratio)) - 1, int(std::ceil(r.bottom() * ratio)) - 1));
    };
    QList<QRect> input;
    if (!m_inputRegion.isEmpty())
        input.append(devicePixels(m_inputRegion));
    X11Window::setInputShape(winId(), input);
    if (!m_composited) {
        QList<QRect> drawn;
        if (!surface.isEmpty()) {
            const QRectF pixels(surface.topLeft() * ratio, surface.size() * ratio);
            const QRegion region(roundedOutline(pixels, m_topRadius * ratio, m_bottomRadius * ratio));
            drawn = QList<QRect>(region.begin(), region.end());
        }
        X11Window::setBoundingShape(winId(), drawn);
    }
    X11Window::flush();
}

void NotchPanel::makeKey()
{
    if (!m_previousActive && X11Window::available()) {
        const std::optional<quint32> active = X11Window::activeWindow();
        if (active && *active != quint32(winId()))
            m_previousActive = active;
    }
    setFlag(Qt::WindowDoesNotAcceptFocus, false);
    requestActivate();
    if (m_root)
        m_root->forceActiveFocus();
    applyShapes();
}

void NotchPanel::resignKey()
{
    setFlag(Qt::WindowDoesNotAcceptFocus, true);
    const std::optional<quint32> previous = m_previousActive;
    m_previousActive.reset();
    applyShapes();
    if (!previous || !X11Window::available())
        return;
    // Hand the keyboard back only while the panel still has it: a click that focused another window wins.
    const std::optional<quint32> active = X11Window::activeWindow();
    if (active && *active == quint32(winId()))
        X11Window::activateWindow(*previous);
}

bool NotchPanel::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseMove:
        Q_EMIT pointerActivity();
        break;
    default:
        break;
    }
    return QQuickWindow::event(event);
}

void NotchPanel::exposeEvent(QExposeEvent *event)
{
    if (isExposed() && !m_exposed) {
        m_exposed = true;
        applyShapes();
        // Window managers that dropped the hints set before mapping take them as requests.
        X11Window::requestOnAllDesktops(winId());
    }
    QQuickWindow::exposeEvent(event);
}
