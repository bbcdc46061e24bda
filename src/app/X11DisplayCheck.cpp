#include "X11DisplayCheck.h"

#include <xcb/xcb.h>

bool X11DisplayCheck::platformIsX11(const QString &platformOption)
{
    const QString chosen = platformOption.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platformOption;
    // "xcb", "xcb:option=value" or a list of choices ("xcb;offscreen"): the first one is loaded if it can be.
    const QString first = chosen.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0).trimmed();
    return first.isEmpty() || first == QLatin1String("xcb");
}

X11DisplayCheck::X11DisplayCheck(const QString &displayOption)
    : m_name(displayOption.isEmpty() ? qEnvironmentVariable("DISPLAY") : displayOption)
{
    if (m_name.isEmpty())
        return;
    xcb_connection_t *connection = xcb_connect(m_name.toLocal8Bit().constData(), nullptr);
    m_opens = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
}

QString X11DisplayCheck::problem() const
{
    if (m_opens)
        return {};
    if (m_name.isEmpty())
        return tr("tandrel-notch needs an X11 display; under Wayland it runs through XWayland. DISPLAY is not set.");
    return tr("tandrel-notch needs an X11 display; under Wayland it runs through XWayland. The display \"%1\" cannot be "
              "opened.")
        .arg(m_name);
}
