#pragma once

#include <QNetworkAccessManager>
#include <QQmlNetworkAccessManagerFactory>

// The views' network access: none. The panel's views load only from the application's resources, so every
// request the QML engine would send (an image named by a URL, an import from a server) fails at once
// instead of reaching the network. Text from outside is never markup, so none should be asked for; this is
// the second wall.
class OfflineNetworkAccessManager final : public QNetworkAccessManager
{
    Q_OBJECT
public:
    explicit OfflineNetworkAccessManager(QObject *parent = nullptr);

    // Hands every engine this manager.
    class Factory final : public QQmlNetworkAccessManagerFactory
    {
    public:
        QNetworkAccessManager *create(QObject *parent) override;
    };

    // Requests refused by managers of this process so far.
    static int refusedCount();

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override;
};
