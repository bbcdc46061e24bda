#pragma once

#include "records/Message.h"

#include <QString>
#include <QUrl>

#include <optional>

// The link into the service's web workspace: the origin followed by "/workspace", with a fragment naming the
// team inbox and its conversation (or its shared inbox) for a team message.
class WorkspaceLink
{
public:
    // The link for a message (or the bare workspace), or an empty URL when the origin gives no http(s) link.
    static QUrl url(const std::optional<QString> &origin, const std::optional<Message> &message);
};
