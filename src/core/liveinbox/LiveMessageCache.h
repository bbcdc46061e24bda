#pragma once

#include "LiveMessage.h"
#include "LiveSnapshot.h"
#include "records/Message.h"

#include <QList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Turns each snapshot's records into Messages, reusing the Message of every record that has not
// changed since the previous snapshot of the same account, so it keeps its identity and derived texts.
//
// What a cache remembers of a record is its Message and a digest of the fields the Message does not carry
// (or carries only through a rule that maps several values to one), not its bytes: the snapshot's storage
// goes as soon as the snapshot does. A record is reused when it converts to exactly the remembered Message
// and its digest is unchanged. So a change in any field counts, and a collision of digests can at worst
// keep an equal Message: it can never show a stale text.
//
// A cache is a value: what it remembers (the last applied snapshot's digests and Messages) is an immutable
// state shared between copies, and `apply` gives the cache a new state without touching the old one. So a
// worker thread can advance a copy while the owner keeps the state it has, and the owner adopts the copy
// only when it applies the snapshot. Copies may be used on different threads; one copy is not.
class LiveMessageCache
{
public:
    // The fingerprint of what a record's Message does not show: its kind and label slugs as sent, its
    // conversation title and its focus fields, under a per-process random key.
    using Digest = std::uint64_t;
    static Digest digest(const LiveMessage &record);

    // Converts the snapshot's messages, in snapshot order (a repeated record id appears as often as it
    // occurs; the last occurrence is the one remembered). Records are reused only when the account id and
    // origin equal those of the previous snapshot; records that left the snapshot are forgotten.
    QList<Message> apply(const LiveSnapshot &snapshot);

    // Back to the empty state: no account, no origin, no records.
    void reset();

    const std::optional<std::string> &account() const;
    const std::optional<std::string> &origin() const;
    // The number of distinct record ids remembered.
    std::size_t size() const;
    // The remembered digest and Message for a service record id, or null.
    const Digest *digestOf(std::string_view id) const;
    const Message *message(std::string_view id) const;
    // The Messages of the last applied snapshot, position for position.
    const QList<Message> &messages() const;

private:
    // Record id -> position of its last occurrence in the snapshot: open addressing over the ids, which
    // are kept in one buffer, sized once per snapshot.
    class Index
    {
    public:
        struct Slot
        {
            std::uint32_t offset = 0; // of the id in the buffer
            std::uint32_t length = 0;
            std::uint32_t hash = 0;
            std::uint32_t entry = 0; // position + 1; 0 marks a free slot
        };

        void reset(std::size_t capacity);
        std::size_t size() const { return m_count; }
        // The slot of `id`, or null.
        const Slot *find(std::string_view id, std::size_t hash) const;
        // Sets the position of `id`, replacing an earlier one.
        void assign(std::string_view id, std::size_t hash, std::size_t position);

    private:
        std::size_t slotOf(std::string_view id, std::size_t hash) const;
        std::string_view idOf(const Slot &slot) const { return {m_ids.data() + slot.offset, slot.length}; }

        std::vector<Slot> m_slots;
        std::string m_ids;
        std::size_t m_count = 0;
    };

    struct State
    {
        std::optional<std::string> account;
        std::optional<std::string> origin;
        // The last snapshot's record digests and their Messages, position for position.
        std::vector<Digest> digests;
        QList<Message> messages;
        Index index;
    };

    const State &state() const;

    std::shared_ptr<const State> m_state; // null: the empty state
};
