#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSizeF>

#include "views/OfflineNetworkAccessManager.h"

#include <functional>
#include <memory>
#include <optional>

class Inbox;
class QQmlEngine;
class ReduceMotionSetting;

// The transparent, frameless, always-on-top window that carries the notch views: 720 x 720, hanging from the
// top edge of its screen, centred on the notch. It never takes focus by itself; makeKey() lets it take the
// keyboard (to type, or for Escape) and resignKey() hands the keyboard back.
//
// On X11 only the visible surface (plus the hover margin) receives the pointer: everything else of the
// window passes clicks and moves through to the windows below, through the window's input shape, which
// follows every presented size. Without a compositing manager the drawn area is clipped to the surface as
// well, since transparent pixels would otherwise show black.
class NotchPanel final : public QQuickWindow
{
    Q_OBJECT
public:
    static constexpr int panelSize = 720;

    NotchPanel(Inbox &inbox, ReduceMotionSetting *motionSetting, QWindow *parent = nullptr);
    ~NotchPanel() override;

    // The root view; null when the views failed to load.
    QQuickItem *rootView() const { return m_root; }
    QString loadError() const { return m_loadError; }

    // Runs `change` as a change that came from the keyboard: the views apply it without animation.
    void runFromKeyboard(const std::function<void()> &change);

    // The area that takes pointer events: the presented surface, centred at the top, widened by `margin`
    // left, right and below. Re-applied on the first expose (a window manager may drop a shape set before
    // the window is mapped).
    // `topRadius` and `bottomRadius` round the drawn area where no compositing manager blends the corners.
    void setPresentedRegion(QSizeF presentedSize, double margin, double topRadius = 0, double bottomRadius = 0);
    // The input region last applied, in window coordinates.
    QRectF inputRegion() const { return m_inputRegion; }
    // Keeps the surface out of the way (under a full-screen window): nothing is drawn and nothing takes the
    // pointer until it is released again.
    void setSuppressed(bool suppressed);
    bool suppressed() const { return m_suppressed; }

    // Takes the keyboard: accepts focus and asks to be activated, remembering the window that was active.
    void makeKey();
    // Gives the keyboard back: refuses focus again and re-activates the remembered window.
    void resignKey();

Q_SIGNALS:
    // The root view drew the surface at this size (every frame of an animation).
    void presentedSizeChanged(QSizeF size);
    // The pointer entered, left or moved over the window's input region.
    void pointerActivity();
    // Escape collapsed the surface.
    void exitCommand();
    // A right click on the bar asks for the application menu at this point of the screen.
    void menuRequested(QPoint globalPosition);
    void firstFrameSwapped();

protected:
    bool event(QEvent *event) override;
    void exposeEvent(QExposeEvent *event) override;

private Q_SLOTS:
    void rootPresentedSizeChange(QSizeF size);
    void rootMenuRequest(QPointF position);

private:
    void applyShapes();

    OfflineNetworkAccessManager::Factory m_networkAccess; // outlives the engine
    std::unique_ptr<QQmlEngine> m_engine;
    QPointer<QQuickItem> m_root;
    QString m_loadError;
    QRectF m_inputRegion;
    QSizeF m_drawnSize;
    double m_drawnMargin = 0;
    double m_topRadius = 0;
    double m_bottomRadius = 0;
    bool m_exposed = false;
    bool m_suppressed = false;
    bool m_composited = true;
    bool m_firstFrame = true;
    std::optional<quint32> m_previousActive;
};
