#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <memory>

// Global pointer activity on X11: XInput2 raw events selected on the root window over the application's
// own X connection. Raw events report every pointer move and button press on the display, whatever window
// is under the pointer, but carry no position: listeners read the pointer position themselves.
//
// Button presses are always selected; raw motion only while setMotionEnabled(true), so that an idle
// pointer watch costs nothing. Does nothing when the application does not run on X11 or the server lacks
// XInput 2.
class X11PointerMonitor final : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit X11PointerMonitor(QObject *parent = nullptr);
    ~X11PointerMonitor() override;

    // Whether the monitor is installed (X11 with XInput 2).
    bool active() const { return m_active; }
    void setMotionEnabled(bool enabled);
    bool motionEnabled() const { return m_motion; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    void pointerMoved();
    // X button number: 1 left, 2 middle, 3 right, 4 to 7 wheel, 8 and up extra buttons.
    void buttonPressed(int button);

private:
    void select();

    bool m_active = false;
    bool m_motion = false;
    quint8 m_opcode = 0;
    quint32 m_root = 0;
};
