#pragma once

#include "LiveMessage.h"
#include "LiveSnapshot.h"
#include "inbox/Message.h"

#include <QList>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// Turns each snapshot's records into Messages, reusing the Message of every record that has not
// changed since the previous snapshot of the same account, so it keeps its identity and derived texts
// and costs only a comparison of its wire bytes. Main thread only.
//
// The cache keeps the records of the last applied snapshot, whose texts are views into that snapshot's
// storage; it holds that storage (and only that one) alive.
class LiveMessageCache
{
public:
    // Converts the snapshot's messages, in snapshot order (a repeated record id appears as often as it
    // occurs; the last occurrence is the one remembered). Records are reused only when the account id and
    // origin equal those of the previous snapshot; records that left the snapshot are forgotten.
    QList<Message> apply(const LiveSnapshot &snapshot);

    // Back to the empty state: no account, no origin, no records.
    void reset();

    const std::optional<std::string> &account() const { return m_account; }
    const std::optional<std::string> &origin() const { return m_origin; }
    std::size_t size() const { return m_records.size(); }
    // The remembered record for a service record id, or null.
    const LiveMessage *source(std::string_view id) const;
    const Message *message(std::string_view id) const;

private:
    struct Entry
    {
        LiveMessage source;
        Message message;
        quint64 generation = 0;     // the apply that last saw this record
        bool holdsPrevious = false; // during an apply: still the previous snapshot's record and Message
    };
    struct TextHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // Keyed by the record ids (owned copies, so the keys never point into a released snapshot).
    using Records = std::unordered_map<std::string, Entry, TextHash, std::equal_to<>>;

    std::optional<std::string> m_account;
    std::optional<std::string> m_origin;
    Records m_records;
    QList<Message> m_lastResult; // what the last apply returned
    quint64 m_generation = 0;
    std::shared_ptr<const char[]> m_storage;
};
