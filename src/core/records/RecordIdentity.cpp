#include "RecordIdentity.h"

#include <QByteArrayView>
#include <QCryptographicHash>

QUuid RecordIdentity::localID(std::string_view recordID)
{
    thread_local QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.reset();
    hash.addData(QByteArrayView(recordID.data(), qsizetype(recordID.size())));
    return QUuid::fromRfc4122(hash.resultView().first(16));
}
