// The Router's notification rules and its two input sources.

#include "CaptureFixtures.h"
#include "Stashwell/Router/Router.h"

#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <limits>

using namespace sw;
using namespace sw::app;
using sw::fixtures::fixedUuid;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

Save::ID saveID(int n)
{
    return Save::ID(fixedUuid(n));
}

// Stands for a key monitor or a hot key: keeps the actions it was given.
struct FakeSource : QObject {
    std::function<void()> find;
    std::function<void(const QString &)> paste;
    std::function<void()> pressed;
};

struct Sources {
    QPointer<FakeSource> keys;
    QPointer<FakeSource> hotKey;
    int activations = 0;
    std::optional<QString> clipboard;

    Router::Inputs inputs()
    {
        Router::Inputs inputs;
        inputs.keyCommands = [this](std::function<void()> find, std::function<void(const QString &)> paste) {
            auto source = std::make_unique<FakeSource>();
            source->find = std::move(find);
            source->paste = std::move(paste);
            keys = source.get();
            return std::unique_ptr<QObject>(std::move(source));
        };
        inputs.hotKey = [this](std::function<void()> pressed) {
            auto source = std::make_unique<FakeSource>();
            source->pressed = std::move(pressed);
            hotKey = source.get();
            return std::unique_ptr<QObject>(std::move(source));
        };
        inputs.activate = [this] { ++activations; };
        inputs.copiedLink = [this] { return clipboard; };
        return inputs;
    }
};

}  // namespace

class RouterTest : public QObject {
    Q_OBJECT

private slots:
    void savingLinkNotifiesOnlyChanges_data()
    {
        QTest::addColumn<QList<std::optional<QString>>>("assignments");
        QTest::addColumn<int>("notifications");

        using Texts = QList<std::optional<QString>>;
        QTest::newRow("empty text twice") << Texts{QString(), QString()} << 1;
        QTest::newRow("null and empty text are one text") << Texts{QString(), QStringLiteral("")} << 1;
        QTest::newRow("absent while absent") << Texts{std::nullopt} << 0;
        QTest::newRow("text, other text, absent") << Texts{QStringLiteral("a"), QStringLiteral("b"), std::nullopt} << 3;
        QTest::newRow("the same link again") << Texts{QStringLiteral("https://x.com/a/status/1"),
                                                      QStringLiteral("https://x.com/a/status/1")}
                                             << 1;
        QTest::newRow("empty, then absent, then empty") << Texts{QString(), std::nullopt, QString()} << 3;
    }

    void savingLinkNotifiesOnlyChanges()
    {
        QFETCH(QList<std::optional<QString>>, assignments);
        QFETCH(int, notifications);
        Router router;
        QSignalSpy spy(&router, &Router::savingLinkChanged);
        for (const auto &text : assignments)
            router.setSavingLink(text);
        QCOMPARE(spy.count(), notifications);
        QCOMPARE(router.savingLink(), assignments.last());
    }

    void countersAlwaysNotifyWhenAddedTo()
    {
        Router router;
        QSignalSpy find(&router, &Router::findRequestsChanged);
        QSignalSpy trash(&router, &Router::emptyTrashRequestsChanged);
        router.requestFind();
        router.requestFind();
        QCOMPARE(router.findRequests(), 2);
        QCOMPARE(find.count(), 2);
        router.setEmptyTrashRequests(0);   // equal: silent
        QCOMPARE(trash.count(), 0);
        router.requestEmptyTrash();
        QCOMPARE(trash.count(), 1);
        router.setEmptyTrashRequests(1);
        QCOMPARE(trash.count(), 1);
        QCOMPARE(find.count(), 2);
    }

    void counterAtItsLargestStillChanges()
    {
        Router router;
        router.setFindRequests(std::numeric_limits<std::int64_t>::max());
        QSignalSpy spy(&router, &Router::findRequestsChanged);
        router.requestFind();
        QCOMPARE(spy.count(), 1);
        QVERIFY(router.findRequests() != std::numeric_limits<std::int64_t>::max());
    }

    void selectingTheSameSaveTwiceNotifiesOnce()
    {
        Router router;
        QSignalSpy spy(&router, &Router::selectingChanged);
        router.setSelecting(saveID(1));
        router.setSelecting(saveID(1));
        QCOMPARE(spy.count(), 1);
        router.setSelecting(saveID(2));
        QCOMPARE(spy.count(), 2);
        router.setSelecting(std::nullopt);
        router.setSelecting(std::nullopt);
        QCOMPARE(spy.count(), 3);
    }

    void keyCommandsReachTheRouter()
    {
        Sources sources;
        Router router(sources.inputs());
        QVERIFY(sources.keys);
        QCOMPARE(router.keys(), sources.keys.data());
        QSignalSpy find(&router, &Router::findRequestsChanged);
        sources.keys->find();
        sources.keys->find();
        QCOMPARE(router.findRequests(), 2);
        QCOMPARE(find.count(), 2);
        sources.keys->paste(QStringLiteral("https://x.com/a/status/7"));
        QCOMPARE(router.savingLink(), std::optional<QString>(QStringLiteral("https://x.com/a/status/7")));
    }

    void hotKey_data()
    {
        QTest::addColumn<std::optional<QString>>("before");
        QTest::addColumn<std::optional<QString>>("clipboard");
        QTest::addColumn<std::optional<QString>>("after");
        QTest::addColumn<int>("notifications");

        const QString link = QStringLiteral("https://x.com/a/status/7");
        QTest::newRow("a link on the clipboard") << std::optional<QString>() << std::optional<QString>(link)
                                                 << std::optional<QString>(link) << 1;
        QTest::newRow("the same link already asked for")
            << std::optional<QString>(link) << std::optional<QString>(link) << std::optional<QString>(link) << 0;
        QTest::newRow("no link: an empty field") << std::optional<QString>() << std::optional<QString>()
                                                 << std::optional<QString>(QString()) << 1;
        QTest::newRow("no link while the empty field is asked for already")
            << std::optional<QString>(QString()) << std::optional<QString>() << std::optional<QString>(QString()) << 0;
    }

    void hotKey()
    {
        QFETCH(std::optional<QString>, before);
        QFETCH(std::optional<QString>, clipboard);
        QFETCH(std::optional<QString>, after);
        QFETCH(int, notifications);

        Sources sources;
        sources.clipboard = clipboard;
        Router router(sources.inputs());
        router.setSavingLink(before);
        QSignalSpy spy(&router, &Router::savingLinkChanged);
        QVERIFY(sources.hotKey);
        sources.hotKey->pressed();
        // The application comes to the front whatever else happens.
        QCOMPARE(sources.activations, 1);
        QCOMPARE(router.savingLink(), after);
        QCOMPARE(spy.count(), notifications);
    }

    void sourcesOutlivingTheRouterDoNothingButActivate()
    {
        Sources sources;
        std::function<void()> find;
        std::function<void(const QString &)> paste;
        std::function<void()> pressed;
        {
            Router router(sources.inputs());
            find = sources.keys->find;
            paste = sources.keys->paste;
            pressed = sources.hotKey->pressed;
        }
        // The Router owned its sources.
        QVERIFY(!sources.keys);
        QVERIFY(!sources.hotKey);
        find();
        paste(QStringLiteral("https://x.com/a/status/7"));
        pressed();
        QCOMPARE(sources.activations, 1);
    }
};

QTEST_GUILESS_MAIN(RouterTest)
#include "tst_router.moc"
