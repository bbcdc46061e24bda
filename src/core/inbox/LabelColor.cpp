#include "LabelColor.h"

#include <QtGlobal>

QString LabelColor::key(const QString &label)
{
    static const QHash<QString, QString> standard{
        {QStringLiteral("Needs response"), QStringLiteral("needs-response")},
        {QStringLiteral("Updates & context"), QStringLiteral("updates-context")},
        {QStringLiteral("Feedback & ideas"), QStringLiteral("feedback-ideas")},
        {QStringLiteral("Introductions & opportunities"), QStringLiteral("introductions-opportunities")},
    };
    const auto it = standard.constFind(label);
    if (it != standard.constEnd())
        return *it;
    return label.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
}

int LabelColor::paletteIndex(const QString &key)
{
    if (key.isEmpty())
        return 1;
    quint32 hash = 2166136261u;
    for (const QChar unit : key) {
        hash ^= unit.unicode();
        hash *= 16777619u;
    }
    return int(hash % palette.size());
}

bool LabelColor::isHexColor(const QString &value)
{
    if (value.size() != 7 || value.front() != QLatin1Char('#'))
        return false;
    for (qsizetype i = 1; i < value.size(); ++i) {
        const char16_t c = value.at(i).unicode();
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!hex)
            return false;
    }
    return true;
}

QString LabelColor::of(const QString &label, const QHash<QString, QString> *configured)
{
    if (configured) {
        const auto it = configured->constFind(label);
        if (it != configured->constEnd() && isHexColor(*it))
            return it->toLower();
    }
    const unsigned rgb = palette.at(std::size_t(paletteIndex(key(label))));
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0'));
}
