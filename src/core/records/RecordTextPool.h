#pragma once

#include <QString>

#include <string_view>
#include <unordered_map>

// One snapshot's repeated texts (conversation, scope and sender ids, sender names) decoded once: every
// record that carries the same bytes gets a copy of the same QString, which shares its characters.
// The views given to `text` must outlive the pool (they are the snapshot's own bytes).
class RecordTextPool
{
public:
    QString text(std::string_view utf8);

private:
    std::unordered_map<std::string_view, QString> m_texts;
};
