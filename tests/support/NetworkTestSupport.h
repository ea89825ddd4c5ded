#pragma once

// Small helpers shared by the network tests of StashKit: a GET through a session, awaited.

#include <QCoro/QCoroNetworkReply>
#include <QCoro/QCoroTask>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>

namespace sw::test {

struct Fetched {
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QString errorText;
    int status = 0;
    QByteArray body;
};

inline QCoro::Task<Fetched> fetchThrough(std::shared_ptr<QNetworkAccessManager> session, QUrl url)
{
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> reply(session->get(QNetworkRequest(url)),
                                                                     [](QNetworkReply *r) { r->deleteLater(); });
    co_await reply.get();
    co_return Fetched{reply->error(), reply->errorString(),
                      reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                      reply->isOpen() ? reply->readAll() : QByteArray()};
}

}  // namespace sw::test
