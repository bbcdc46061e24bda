#include "RecordText.h"

QString RecordText::fromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
