#include "ArrivalTracker.h"

#include "liveinbox/LiveMessageConversion.h"

std::optional<QUuid> ArrivalTracker::consume(const LiveSnapshot &snapshot, bool sameMessagesAsBefore)
{
    const std::array<std::string, 3> account{std::string(snapshot.account.origin),
                                             std::string(snapshot.account.provider),
                                             std::string(snapshot.account.id)};
    if (!m_account || *m_account != account) {
        m_account = account;
        m_seen.clear();
        m_scopes.clear();
        for (const LiveMessage &message : snapshot.messages)
            m_seen.emplace(message.id);
        for (const LiveScope &scope : snapshot.scopes)
            m_scopes.emplace(scope.id);
        return std::nullopt;
    }

    if (sameMessagesAsBefore) {
        for (const LiveScope &scope : snapshot.scopes) {
            if (!m_scopes.contains(scope.id))
                m_scopes.emplace(scope.id);
        }
        return std::nullopt;
    }

    const LiveMessage *picked = nullptr;
    for (const LiveMessage &message : snapshot.messages) {
        if (message.unread && message.senderId != snapshot.account.id && m_scopes.contains(message.scopeId) &&
            !m_seen.contains(message.id)) {
            picked = &message;
            break;
        }
    }
    for (const LiveMessage &message : snapshot.messages) {
        if (!m_seen.contains(message.id))
            m_seen.emplace(message.id);
    }
    for (const LiveScope &scope : snapshot.scopes) {
        if (!m_scopes.contains(scope.id))
            m_scopes.emplace(scope.id);
    }
    if (!picked)
        return std::nullopt;
    return LiveMessageConversion::localID(*picked);
}
