#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QRect>

#include <optional>

// Whether the active window is full screen, on X11: follows the window manager's _NET_ACTIVE_WINDOW on the
// root window and the active window's _NET_WM_STATE, over the application's own X connection. Only the
// active window counts: a full-screen window that loses focus no longer covers the desktop's panels.
//
// Does nothing (reports no full-screen window) when the application does not run on X11.
class X11FullScreenMonitor final : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit X11FullScreenMonitor(QObject *parent = nullptr);
    ~X11FullScreenMonitor() override;

    bool active() const { return m_active; }
    // The active full-screen window's area in root coordinates (device pixels), if there is one.
    std::optional<QRect> fullScreenArea() const { return m_area; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    // fullScreenArea() changed.
    void changed();

private:
    void follow(quint32 window);
    void evaluate();

    bool m_active = false;
    quint32 m_root = 0;
    quint32 m_window = 0;
    quint32 m_activeAtom = 0;
    quint32 m_stateAtom = 0;
    quint32 m_fullScreenAtom = 0;
    std::optional<QRect> m_area;
};
