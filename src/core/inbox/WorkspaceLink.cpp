#include "WorkspaceLink.h"

#include <QUrlQuery>

QUrl WorkspaceLink::url(const std::optional<QString> &origin, const std::optional<Message> &message)
{
    if (!origin)
        return {};
    QUrl url(*origin + QStringLiteral("/workspace"), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    if (message && !message->scope.isPersonal()) {
        QUrlQuery fragment;
        fragment.addQueryItem(QStringLiteral("team"), message->scope.rawValue);
        if (message->kind == ConversationKind::inbox)
            fragment.addQueryItem(QStringLiteral("view"), QStringLiteral("inbox"));
        else
            fragment.addQueryItem(QStringLiteral("conversation"), message->conversationID);
        url.setFragment(fragment.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    }
    return url;
}
