// The stream of transfer events between a producer and a reading coroutine: order, buffering,
// ending, failing, and what letting go of either end does.

#include "StashKit/TransferStream.h"

#include "AwaitTask.h"
#include "TransferReading.h"

#include <QTimer>
#include <QtTest>

using namespace sw;
using namespace sw::test;
using namespace std::chrono_literals;

class TestTransferStream : public QObject {
    Q_OBJECT

private slots:
    void bufferedEventsComeInOrderBeforeTheEnd_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("finished") << false;
        QTest::newRow("failed") << true;
    }

    void bufferedEventsComeInOrderBeforeTheEnd()
    {
        QFETCH(bool, fails);
        auto [stream, sink] = TransferStream::make();
        // Everything is produced before anyone reads: nothing is dropped.
        for (int i = 1; i <= 1000; ++i)
            sink.yield(Transfer::progress(i));
        sink.yield(Transfer::done(1000));
        if (fails)
            sink.fail(TransferError::network(QNetworkReply::RemoteHostClosedError, QStringLiteral("closed")));
        else
            sink.finish();
        sink.yield(Transfer::done(5));   // after the end: ignored

        const auto read = awaitTask(readAll(std::move(stream)));

        QVERIFY(read);
        QCOMPARE(read->events.size(), 1001);
        QCOMPARE(read->events.first(), Transfer::progress(1));
        QCOMPARE(read->events.at(999), Transfer::progress(1000));
        QCOMPARE(read->events.last(), Transfer::done(1000));
        QCOMPARE(read->error.has_value(), fails);
        if (fails)
            QCOMPARE(read->error->networkError, QNetworkReply::RemoteHostClosedError);
    }

    void aWaitingReaderIsWokenFromTheEventLoop()
    {
        auto [stream, sink] = TransferStream::make();
        QList<QString> order;
        auto reader = [](TransferStream &s, QList<QString> &order) -> QCoro::Task<void> {
            const auto first = co_await s.next();
            order.append(QStringLiteral("read %1").arg((*first)->bytes()));
            const auto second = co_await s.next();
            order.append(second && !*second ? QStringLiteral("ended") : QStringLiteral("?"));
        };
        QTimer::singleShot(10ms, [&order, sink = sink] {
            sink.yield(Transfer::progress(7));
            order.append(QStringLiteral("yielded"));
            sink.finish();
            order.append(QStringLiteral("finished"));
        });

        QVERIFY(awaitTask(reader(stream, order)));

        // The reader never runs inside the producer's call.
        QCOMPARE(order, (QList<QString>{"yielded", "finished", "read 7", "ended"}));
    }

    void afterTheEndEveryReadGivesTheEndAgain()
    {
        auto [stream, sink] = TransferStream::make();
        sink.fail(TransferError::badServerResponse(404));
        auto twice = [](TransferStream &s) -> QCoro::Task<int> {
            int failures = 0;
            for (int i = 0; i < 2; ++i) {
                const auto next = co_await s.next();
                if (!next && next.error().status == 404)
                    ++failures;
            }
            co_return failures;
        };
        QCOMPARE(awaitTask(twice(stream)), std::optional<int>(2));
        QVERIFY(stream.hasEnded());
    }

    void lettingGoBeforeTheEndCancelsOnce()
    {
        int cancels = 0;
        {
            auto [stream, sink] = TransferStream::make();
            sink.onCancel([&cancels] { ++cancels; });
            sink.yield(Transfer::progress(1));
            TransferStream moved = std::move(stream);   // a moved-from stream cancels nothing
            QCOMPARE(cancels, 0);
            QVERIFY(!sink.isClosed());
        }
        QCOMPARE(cancels, 1);
    }

    void lettingGoAfterTheEndCancelsNothing()
    {
        int cancels = 0;
        TransferSink kept;
        {
            auto [stream, sink] = TransferStream::make();
            sink.onCancel([&cancels] { ++cancels; });
            sink.yield(Transfer::done(3));
            sink.finish();
            kept = sink;
        }
        QCOMPARE(cancels, 0);
        QVERIFY(kept.isClosed());
    }

    void aHandlerSetAfterTheReaderLeftRunsAtOnce()
    {
        TransferSink sink;
        {
            auto made = TransferStream::make();
            sink = made.second;
        }
        QVERIFY(sink.isClosed());
        bool ran = false;
        sink.onCancel([&ran] { ran = true; });
        QVERIFY(ran);
    }

    void aStreamMadeFailedFailsAtOnce()
    {
        const auto read = awaitTask(readAll(TransferStream::failed(TransferError::notHttp(QStringLiteral("ftp://x/")))));
        QVERIFY(read && read->error && read->events.isEmpty());
        QCOMPARE(read->error->kind, TransferError::Kind::notHttp);
    }
};

QTEST_GUILESS_MAIN(TestTransferStream)
#include "tst_transferstream.moc"
