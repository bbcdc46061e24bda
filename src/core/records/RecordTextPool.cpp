#include "RecordTextPool.h"

#include "RecordText.h"

QString RecordTextPool::text(std::string_view utf8)
{
    if (utf8.empty())
        return QString();
    const auto [at, added] = m_texts.try_emplace(utf8);
    if (added)
        at->second = RecordText::fromUtf8(utf8);
    return at->second;
}
