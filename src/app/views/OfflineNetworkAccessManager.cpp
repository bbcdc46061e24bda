#include "OfflineNetworkAccessManager.h"

#include <QNetworkRequest>
#include <QUrl>

#include <atomic>

namespace {

std::atomic<int> refused{0};

} // namespace

OfflineNetworkAccessManager::OfflineNetworkAccessManager(QObject *parent) : QNetworkAccessManager(parent) {}

QNetworkAccessManager *OfflineNetworkAccessManager::Factory::create(QObject *parent)
{
    return new OfflineNetworkAccessManager(parent);
}

int OfflineNetworkAccessManager::refusedCount()
{
    return refused.load();
}

QNetworkReply *OfflineNetworkAccessManager::createRequest(Operation operation, const QNetworkRequest &request,
                                                          QIODevice *outgoingData)
{
    Q_UNUSED(request)
    Q_UNUSED(outgoingData)
    ++refused;
    // No manager answers the "refused:" scheme: the reply fails at once with "protocol unknown", and nothing
    // leaves the process.
    QNetworkRequest nowhere{QUrl(QStringLiteral("refused:"))};
    return QNetworkAccessManager::createRequest(operation, nowhere, nullptr);
}
