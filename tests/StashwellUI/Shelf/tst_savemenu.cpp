// The save menu: its entries for each state of a save as table rows, and every entry of the built
// menu raising its intent when its action is triggered.

#include "ShelfFixtures.h"

#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/ActionStyle.h"
#include "StashwellUI/Saves/SaveMenu.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

using namespace sw;
using namespace sw::shelftest;

namespace {

QString actionName(const Action &action)
{
    static const char *names[] = {"download", "downloading", "retry", "play", "open", "openOnX", "restore"};
    return QString::fromLatin1(names[action.index()]);
}

// An intent as the rows write it: its case, and what it carries.
QString describe(const SaveIntent &intent, const QList<Collection> &collections)
{
    QString text = QString::fromLatin1(intent.caseName());
    if (const auto *a = intent.as<SaveIntent::Action>())
        text += u'(' + actionName(a->action) + u')';
    if (const auto *f = intent.as<SaveIntent::File>()) {
        QString target = QStringLiteral("none");
        for (const Collection &c : collections) {
            if (f->collection && c.id == *f->collection)
                target = c.name;
        }
        text += u'(' + target + u')';
    }
    return text;
}

QString describe(const QList<SaveMenu::Entry> &entries, const QList<Collection> &collections)
{
    QStringList parts;
    for (const SaveMenu::Entry &entry : entries) {
        switch (entry.kind) {
        case SaveMenu::Entry::Kind::divider:
            parts.append(QStringLiteral("-"));
            break;
        case SaveMenu::Entry::Kind::submenu:
            parts.append(QStringLiteral("fileIn[") + describe(entry.children, collections).replace(u'|', u',') + u']');
            break;
        case SaveMenu::Entry::Kind::button: {
            QString text = entry.intent ? describe(*entry.intent, collections) : QStringLiteral("?");
            if (entry.intent && entry.intent->is<SaveIntent::Favourite>())
                text += u':' + entry.symbol;
            if (entry.checked)
                text += QStringLiteral("✓");
            parts.append(text);
            break;
        }
        }
    }
    return parts.join(u'|');
}

const QList<Collection> &twoCollections()
{
    static const QList<Collection> list{collection(1, QStringLiteral("Work")), collection(2, QStringLiteral("R&D"))};
    return list;
}

QList<SaveIntent> flatIntents(const QList<SaveMenu::Entry> &entries)
{
    QList<SaveIntent> all;
    for (const SaveMenu::Entry &entry : entries) {
        if (entry.kind == SaveMenu::Entry::Kind::submenu)
            all += flatIntents(entry.children);
        else if (entry.intent)
            all.append(*entry.intent);
    }
    return all;
}

// Every action that is an entry (not a divider, not a submenu's own action), top to bottom.
QList<QAction *> entryActions(const QMenu &menu)
{
    QList<QAction *> all;
    for (QAction *action : menu.actions()) {
        if (action->isSeparator())
            continue;
        if (QMenu *sub = action->menu())
            all += entryActions(*sub);
        else
            all.append(action);
    }
    return all;
}

}  // namespace

class TestSaveMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void entries_data();
    void entries();
    void titles();
    void triggeringRaisesEachIntent();
    void trashSymbolInDangerColour();
};

void TestSaveMenu::initTestCase()
{
    loadFonts();
}

void TestSaveMenu::entries_data()
{
    QTest::addColumn<ShelfItem>("item");
    QTest::addColumn<QList<Collection>>("collections");
    QTest::addColumn<QString>("expected");

    const QString fileIn = QStringLiteral("fileIn[file(none)✓,file(Work),file(R&D),-,newCollection]");
    const QList<Collection> two = twoCollections();
    const LocalCopy here = LocalCopy::onThisComputer({LocalFile{QStringLiteral("a.jpg"), 2048}});

    QTest::newRow("link only: download, no file manager entries")
        << item(SaveSpec{}) << two
        << QStringLiteral("action(download)|openOriginal|copyLink|-|") + fileIn + QStringLiteral("|favourite:star|-|trash");
    QTest::newRow("on this computer: open and the file manager entries")
        << item(SaveSpec{}, here) << two
        << QStringLiteral("action(open)|openOriginal|copyLink|-|reveal|removeLocalCopy|-|") + fileIn
               + QStringLiteral("|favourite:star|-|trash");
    QTest::newRow("a video on this computer plays")
        << item(SaveSpec{1, {video()}}, LocalCopy::onThisComputer({LocalFile{QStringLiteral("v.mp4"), 4096}})) << two
        << QStringLiteral("action(play)|openOriginal|copyLink|-|reveal|removeLocalCopy|-|") + fileIn
               + QStringLiteral("|favourite:star|-|trash");
    QTest::newRow("downloading: no action entry, no file manager entries")
        << item(SaveSpec{}, LocalCopy::downloading(10, 100)) << two
        << QStringLiteral("openOriginal|copyLink|-|") + fileIn + QStringLiteral("|favourite:star|-|trash");
    QTest::newRow("failed: retry")
        << item(SaveSpec{}, LocalCopy::failed(DownloadFailure::unreachable)) << two
        << QStringLiteral("action(retry)|openOriginal|copyLink|-|") + fileIn + QStringLiteral("|favourite:star|-|trash");
    QTest::newRow("in the trash: restore, and it ends with the favourite entry")
        << item(SaveSpec{.trashed = true}) << two
        << QStringLiteral("action(restore)|openOriginal|copyLink|-|") + fileIn + QStringLiteral("|favourite:star");
    QTest::newRow("in the trash while downloading: restore still shows")
        << item(SaveSpec{.trashed = true}, LocalCopy::downloading(10, 100)) << two
        << QStringLiteral("action(restore)|openOriginal|copyLink|-|") + fileIn + QStringLiteral("|favourite:star");
    QTest::newRow("a favourite: unfavourite with its own symbol, the same toggle")
        << item(SaveSpec{.favourite = true}) << two
        << QStringLiteral("action(download)|openOriginal|copyLink|-|") + fileIn
               + QStringLiteral("|favourite:star.slash|-|trash");
    QTest::newRow("filed in a listed collection: that one checked")
        << item(SaveSpec{.collection = twoCollections()[1].id}) << two
        << QStringLiteral("action(download)|openOriginal|copyLink|-|fileIn[file(none),file(Work),file(R&D)✓,-,newCollection]|favourite:star|-|trash");
    QTest::newRow("filed in a collection not listed: nothing checked")
        << item(SaveSpec{.collection = Collection::ID(fixtures::fixedUuid(777))}) << two
        << QStringLiteral("action(download)|openOriginal|copyLink|-|fileIn[file(none),file(Work),file(R&D),-,newCollection]|favourite:star|-|trash");
    QTest::newRow("no collections: none checked, then the new-collection entry")
        << item(SaveSpec{}) << QList<Collection>()
        << QStringLiteral("action(download)|openOriginal|copyLink|-|fileIn[file(none)✓,-,newCollection]|favourite:star|-|trash");
    QTest::newRow("an X post without media opens on X")
        << item(SaveSpec{.attachments = {}}) << QList<Collection>()
        << QStringLiteral("action(openOnX)|openOriginal|copyLink|-|fileIn[file(none)✓,-,newCollection]|favourite:star|-|trash");
    QTest::newRow("a web page without media opens")
        << item(SaveSpec{.attachments = {}, .web = true}) << QList<Collection>()
        << QStringLiteral("action(open)|openOriginal|copyLink|-|fileIn[file(none)✓,-,newCollection]|favourite:star|-|trash");
}

void TestSaveMenu::entries()
{
    QFETCH(ShelfItem, item);
    QFETCH(QList<Collection>, collections);
    QFETCH(QString, expected);
    QCOMPARE(describe(SaveMenu::entries(item, collections), collections), expected);
}

// The titles: the action's style, the keys' texts, the collections' names as they are.
void TestSaveMenu::titles()
{
    const ShelfItem favourite = item(SaveSpec{.favourite = true});
    const QList<SaveMenu::Entry> entries = SaveMenu::entries(favourite, twoCollections());
    QCOMPARE(entries.first().title, ActionStyle(favourite.action()).title());
    QCOMPARE(entries.first().symbol, ActionStyle(favourite.action()).symbol());
    QStringList titles;
    for (const SaveMenu::Entry &entry : entries) {
        titles.append(entry.title);
        for (const SaveMenu::Entry &child : entry.children)
            titles.append(child.title);
    }
    for (const QString &text : {StashwellUIStrings::saveMenuOpenOriginal(), StashwellUIStrings::saveMenuCopyLink(),
                                StashwellUIStrings::saveMenuFileIn(), StashwellUIStrings::collectionNone(),
                                QStringLiteral("Work"), QStringLiteral("R&D"), StashwellUIStrings::saveMenuNewCollection(),
                                StashwellUIStrings::saveMenuUnfavourite(), StashwellUIStrings::actionMoveToTrash()})
        QVERIFY2(titles.contains(text), qPrintable(text));
    QVERIFY(!titles.contains(StashwellUIStrings::saveMenuFavourite()));
}

// Every entry of the built menu, the checked one included, raises its own intent once, in the
// order of the entries; a collection's ampersand is no mnemonic.
void TestSaveMenu::triggeringRaisesEachIntent()
{
    for (const ShelfItem &shown : {item(SaveSpec{.collection = twoCollections()[0].id},
                                        LocalCopy::onThisComputer({LocalFile{QStringLiteral("a.jpg"), 2048}})),
                                   item(SaveSpec{.favourite = true, .trashed = true})}) {
        QList<SaveIntent> raised;
        const SaveMenu menu(shown, twoCollections(), [&raised](const SaveIntent &intent) { raised.append(intent); });
        std::unique_ptr<QMenu> built(menu.build(nullptr));
        const QList<QAction *> actions = entryActions(*built);
        for (QAction *action : actions)
            action->trigger();
        const QList<SaveIntent> expected = flatIntents(menu.entries());
        QCOMPARE(raised.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(raised[i] == expected[i], qPrintable(describe(raised[i], twoCollections())));
        // Filing in the checked collection is raised again, not suppressed.
        QVERIFY(raised.contains(SaveIntent::file(shown.save().collection())));
        QStringList texts;
        for (QAction *action : actions)
            texts.append(action->text());
        QVERIFY(texts.contains(QStringLiteral("R&&D")));
    }
}

void TestSaveMenu::trashSymbolInDangerColour()
{
    const SaveMenu menu(item(SaveSpec{}), {}, {});
    std::unique_ptr<QMenu> built(menu.build(nullptr));
    const QList<QAction *> actions = entryActions(*built);
    QAction *trash = actions.last();
    QCOMPARE(trash->text(), StashwellUIStrings::actionMoveToTrash());
    const QImage icon = trash->icon().pixmap(QSize(32, 32)).toImage();
    QColor strongest;
    int alpha = -1;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QColor c = icon.pixelColor(x, y);
            if (c.alpha() > alpha) {
                alpha = c.alpha();
                strongest = c;
            }
        }
    }
    const QColor danger = Tokens::Colors::danger();
    QVERIFY(std::abs(strongest.red() - danger.red()) < 24 && std::abs(strongest.green() - danger.green()) < 24
            && std::abs(strongest.blue() - danger.blue()) < 24);
}

QTEST_MAIN(TestSaveMenu)
#include "tst_savemenu.moc"
