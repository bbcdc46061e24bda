#pragma once

#include <QCoreApplication>
#include <QString>

// Whether the X display the panel needs can be opened, asked before the application object is made: Qt's
// xcb platform aborts the process when it cannot connect, so a missing display is found here first and
// reported in one line.
class X11DisplayCheck
{
    Q_DECLARE_TR_FUNCTIONS(X11DisplayCheck)
public:
    // Whether the application object will load the xcb platform: the one chosen by -platform or, without
    // it, by QT_QPA_PLATFORM (its first choice), or none chosen.
    static bool platformIsX11(const QString &platformOption);

    // Tries the display named by -display or, without it, by DISPLAY.
    explicit X11DisplayCheck(const QString &displayOption);

    bool opens() const { return m_opens; }
    // Why the display does not open, in one line; empty when it opens.
    QString problem() const;

private:
    QString m_name;
    bool m_opens = false;
};
