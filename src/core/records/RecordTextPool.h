#pragma once

#include <QString>

#include <string_view>
#include <unordered_map>

// One snapshot's repeated texts (conversation, scope and sender ids, sender names) decoded once: every
// record that carries the same bytes gets a copy of the same QString, which shares its characters.
// The views given to the pool must outlive it (they are the snapshot's own bytes).
class RecordTextPool
{
public:
    QString text(std::string_view utf8);

    // A display text derived from `key` (a label slug's name), made by `make` once per pool and key.
    template <typename Make>
    QString derived(std::string_view key, Make &&make)
    {
        const auto [at, added] = m_derived.try_emplace(key);
        if (added)
            at->second = make(key);
        return at->second;
    }

private:
    std::unordered_map<std::string_view, QString> m_texts;
    std::unordered_map<std::string_view, QString> m_derived;
};
