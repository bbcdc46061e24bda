#pragma once

#include <QString>

#include <array>
#include <optional>

// The kind of conversation a message belongs to. The raw value is also the filter menu's title.
enum class ConversationKind { inbox, thread, direct };

namespace ConversationKinds {

inline constexpr std::array<ConversationKind, 3> allCases{ConversationKind::inbox, ConversationKind::thread,
                                                          ConversationKind::direct};

inline QString rawValue(ConversationKind kind)
{
    switch (kind) {
    case ConversationKind::inbox: return QStringLiteral("Shared inbox");
    case ConversationKind::thread: return QStringLiteral("Thread");
    case ConversationKind::direct: return QStringLiteral("Direct");
    }
    return {};
}

// Only the three raw values exactly; anything else is no kind.
inline std::optional<ConversationKind> fromRawValue(const QString &raw)
{
    for (const ConversationKind kind : allCases) {
        if (rawValue(kind) == raw)
            return kind;
    }
    return std::nullopt;
}

} // namespace ConversationKinds
