// Sequences of ordinary clicks, keys and searches over the library window's real widgets, the
// library page and the Curator on scripted services, offscreen, each a row of steps. They are the
// roads on which the shelf once kept the painter of a card whose save had left its section, with
// the place it had there: a later refresh of an unchanged layout read past the section's end, or
// drew another save from it. After every step each painter the shelf keeps must stand where its
// save stands and draw that save as the page shows it, and the whole shelf must paint.

#include "AwaitTask.h"
#include "PageRig.h"

#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "Stashwell/Pages/Shelf/ShelfPage.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Inspector/SaveInspector.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/Saves/LatestSaveHero.h"
#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveRow.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

// An X post with one image and a text of its own.
Post postNumbered(int n)
{
    const QString digits = QString::number(n);
    return fixtures::post(xLink(QStringLiteral("someone"), digits),
                          {image(1000, QStringLiteral("https://pbs.example.com/%1.jpg").arg(digits))}, std::nullopt,
                          QStringLiteral("post %1 %2").arg(n).arg(n % 2 ? QStringLiteral("odd") : QStringLiteral("even")));
}

Library numbered(int count)
{
    QList<Save> saves;
    for (int n = count; n >= 1; --n)
        saves.append(makeSave(n, postNumbered(n), 799990000 + 10 * n));   // all of the last days
    return libraryOf(saves);
}

struct Window {
    PageRig rig;
    LibraryPageView view;

    explicit Window(Library library) : rig(std::move(library)), view(*rig.page)
    {
        rig.curator().setDownloadsOnSave(false);
        view.resize(1280, 800);
        view.show();
        turn();
    }

    ShelfSurface &surface() { return view.content().surface(); }

    void turn()
    {
        QCoreApplication::processEvents();
        view.refreshNow();
        QCoreApplication::processEvents();
    }

    // The collection block that is the `nth` (from the end when negative) of the surface's.
    qsizetype block(int nth)
    {
        QList<qsizetype> found;
        for (qsizetype b = 0; b < surface().blocks().size(); ++b)
            if (std::holds_alternative<ShelfCollection>(surface().blocks().at(b)))
                found.append(b);
        const qsizetype at = nth < 0 ? found.size() + nth : nth;
        return at >= 0 && at < found.size() ? found.at(at) : -1;
    }

    // A spot of an item ("body", "trash", "pill"), the item counted from the end when negative.
    std::optional<QPoint> spot(int nth, int index, const QString &part)
    {
        const qsizetype b = block(nth);
        if (b < 0)
            return std::nullopt;
        const auto &c = std::get<ShelfCollection>(surface().blocks().at(b));
        const qsizetype i = index < 0 ? c.items.size() + index : index;
        const ShelfItem *shown = surface().item(b, i);
        if (!shown)
            return std::nullopt;
        surface().scrollToItem(shown->save().id());
        const QRectF cell = surface().itemRect(b, i);
        if (c.layout == ShelfLayout::list) {
            const SaveRow::Layout r = SaveRow(*shown, c.now, false).layout(cell);
            const QRectF at = part == u"trash" && r.trash ? *r.trash : part == u"pill" ? r.pill : r.name;
            return at.center().toPoint();
        }
        const SaveCard card(*shown, c.now, false);
        const SaveCard::Layout l = card.layout(QRectF(cell.topLeft(), QSizeF(cell.width(), card.height())), {});
        const QRectF at = part == u"trash" && l.trash ? *l.trash : part == u"pill" ? l.pill : l.meta;
        return at.center().toPoint();
    }

    void typeInSearch(const QString &text)
    {
        QLineEdit *edit = view.bar().searchField().lineEdit();
        for (const QChar c : text) {
            QTest::keyClick(edit, c.toLatin1());
            turn();
        }
    }
};

QList<Save::ID> ids(const QList<ShelfItem> &items)
{
    QList<Save::ID> out;
    for (const ShelfItem &item : items)
        out.append(item.save().id());
    return out;
}

// What must hold after every step: each painter kept stands at its save's place (or waits,
// unplaced, to be placed again) and the painters of the items on screen draw the items shown.
QString keptPaintersFault(Window &w)
{
    ShelfSurface &surface = w.surface();
    surface.viewport()->repaint();
    QSet<std::pair<qsizetype, qsizetype>> onScreen;
    for (const ShelfGeometry::Visible &v : surface.visibleItems())
        for (qsizetype i = v.items.first; i < v.items.last; ++i)
            onScreen.insert({v.block, i});
    for (const ShelfSurface::KeptPainter &kept : surface.keptPainters()) {
        if (kept.drawn.save().id() != kept.id)
            return QStringLiteral("a painter kept for one save draws another");
        if (kept.index < 0)
            continue;
        const ShelfItem *there = surface.item(kept.block, kept.index);
        if (!there)
            return QStringLiteral("a painter kept at %1 of block %2, which has no such item").arg(kept.index).arg(kept.block);
        if (there->save().id() != kept.id)
            return QStringLiteral("a painter kept at %1 of block %2, where another save stands").arg(kept.index).arg(kept.block);
        if (onScreen.contains({kept.block, kept.index}) && !(kept.drawn == *there))
            return QStringLiteral("the card at %1 of block %2 is drawn from an older item").arg(kept.index).arg(kept.block);
    }
    return {};
}

}  // namespace

class ShelfRoadsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    // Steps, one a string:
    //   keep N                  N new X posts with media kept through the Curator
    //   filter recent|favourites
    //   layout list
    //   hover B I | click B I [PART] [ctrl|shift] | right-click B I | double-click B I
    //                           the item I of the collection block B (both from the end when
    //                           negative); PART body (the default), trash or pill
    //   type TEXT | space | erase   in the search field, a key at a time
    //   key right|escape | select-all
    //   inspector-trash         the inspector's trash button
    //   hero-download           the latest save's pill; download-progress; download-finish
    //   idle                    the shelf paints ahead while nothing happens
    void roads_data()
    {
        QTest::addColumn<int>("library");
        QTest::addColumn<QStringList>("steps");
        const auto steps = [](const char *text) { return QString::fromLatin1(text).split(u';'); };
        QTest::newRow("the last recent card trashed, then the latest save downloaded")
            << 0 << steps("keep 3;click -1 -1 trash;hero-download;download-progress;download-finish");
        QTest::newRow("the last card trashed, then an arrow") << 0 << steps("keep 3;click -1 -1 trash;key right;key right");
        QTest::newRow("the last card trashed, then Select All") << 0 << steps("keep 3;click -1 -1 trash;select-all");
        QTest::newRow("a recent card trashed, another moving up in its place")
            << 6 << steps("click 0 -1 trash;key right;idle");
        // The pointer rests on the card while the search leaves it out: the column does not
        // scroll, so no move of the pointer tells the shelf.
        QTest::newRow("a card clicked, then a search") << 6 << steps("filter recent;click 0 1;type even;space;erase");
        QTest::newRow("a card's menu, then a search") << 6 << steps("filter recent;right-click 0 1;hover 0 1;type even;space");
        QTest::newRow("a double-click in a larger library, then a search erased")
            << 60 << steps("filter recent;double-click 0 1;type even;space;erase;idle");
        QTest::newRow("the selected card trashed from the inspector, then another clicked")
            << 6 << steps("filter recent;click 0 1;inspector-trash;click 0 0;idle");
        QTest::newRow("a Shift-click in the list, then a search")
            << 8 << steps("filter recent;layout list;click 0 1;click 0 -1 body shift;type even;space");
        QTest::newRow("the hovered card leaves the list, then the shelf paints ahead")
            << 8 << steps("filter recent;hover 0 1;type even;idle;space;idle");
    }

    void roads()
    {
        QFETCH(int, library);
        QFETCH(QStringList, steps);
        Window w(numbered(library));
        LibraryPage &page = *w.rig.page;
        std::optional<PostLink> downloading;
        for (const QString &step : std::as_const(steps)) {
            const QStringList word = step.split(u' ');
            const QString &verb = word.at(0);
            const auto arg = [&word](int at) { return at < word.size() ? word.at(at) : QString(); };
            if (verb == u"keep") {
                for (int n = 1; n <= arg(1).toInt(); ++n) {
                    QVERIFY(awaitTask(w.rig.curator().keep(postNumbered(100 + n))));
                    w.turn();
                }
            } else if (verb == u"filter") {
                page.setFilter(arg(1) == u"recent" ? Filter::recentlyAdded() : Filter::favourites());
            } else if (verb == u"layout") {
                page.setLayout(ShelfLayout::list);
            } else if (verb == u"hover" || verb.endsWith(u"click")) {
                w.turn();
                const std::optional<QPoint> at = w.spot(arg(1).toInt(), arg(2).toInt(), arg(3));
                QVERIFY2(at, qPrintable(step));
                const Qt::KeyboardModifiers mods = arg(4) == u"shift" ? Qt::ShiftModifier
                                                   : arg(4) == u"ctrl" ? Qt::ControlModifier
                                                                       : Qt::NoModifier;
                QWidget *viewport = w.surface().viewport();
                // The pointer goes there (sent, not left to the platform, which drops a move to
                // where the last row's pointer already was).
                QCursor::setPos(viewport->mapToGlobal(*at));
                QMouseEvent move(QEvent::MouseMove, QPointF(*at), viewport->mapToGlobal(QPointF(*at)), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(viewport, &move);
                if (verb == u"click") {
                    QTest::mouseClick(viewport, Qt::LeftButton, mods, *at);
                } else if (verb == u"double-click") {
                    QTest::mouseDClick(viewport, Qt::LeftButton, mods, *at);
                } else if (verb == u"right-click") {
                    QContextMenuEvent event(QContextMenuEvent::Mouse, *at, viewport->mapToGlobal(*at));
                    QCoreApplication::sendEvent(viewport, &event);
                    w.turn();
                    for (QMenu *menu : w.surface().findChildren<QMenu *>())
                        menu->close();
                }
            } else if (verb == u"type") {
                w.typeInSearch(arg(1));
            } else if (verb == u"space") {
                w.typeInSearch(QStringLiteral(" "));
            } else if (verb == u"erase") {
                while (!page.query().isEmpty()) {
                    QTest::keyClick(w.view.bar().searchField().lineEdit(), Qt::Key_Backspace);
                    w.turn();
                }
            } else if (verb == u"key") {
                w.surface().setFocus();
                QTest::keyClick(&w.surface(), arg(1) == u"right" ? Qt::Key_Right : Qt::Key_Escape);
            } else if (verb == u"select-all") {
                w.surface().selectAll();
                QVERIFY(!page.chosen().isEmpty());
            } else if (verb == u"inspector-trash") {
                QVERIFY(w.view.inspector());
                const Save::ID shown = w.view.inspector()->item().save().id();
                w.view.inspector()->trashButton().click();
                QVERIFY(w.rig.curator().library().save(shown)->isTrashed());
            } else if (verb == u"hero-download") {
                const LatestSaveHero *hero = w.surface().findChild<LatestSaveHero *>();
                QVERIFY(hero && hero->isVisible());
                const Post latest = hero->item().save().post();
                downloading = latest.link;
                QTest::mouseClick(&const_cast<LatestSaveHero *>(hero)->actionPill(), Qt::LeftButton);
                QVERIFY(settle([&] { return !w.rig.core.downloader->calls.isEmpty(); }));
                QCOMPARE(w.rig.core.downloader->calls.first().attachment.remote(), latest.attachments.front().remote());
            } else if (verb == u"download-progress") {
                w.rig.core.downloader->send(0, Transfer::progress(400));
                QTest::qWait(2 * LibraryPage::progressRefreshMs);
            } else if (verb == u"download-finish") {
                w.rig.core.downloader->play(0, TransferScript::arriving(1000));
                QVERIFY(downloading);
                QVERIFY(settle([&] { return w.rig.curator().localMedia().copy(*downloading).asOnThisMac() != nullptr; }));
            } else if (verb == u"idle") {
                w.turn();
                QVERIFY(settle([&] { return !w.surface().preparing(); }));
            } else {
                QFAIL(qPrintable(QStringLiteral("no such step: ") + step));
            }
            w.turn();
            const QString fault = keptPaintersFault(w);
            QVERIFY2(fault.isEmpty(), qPrintable(step + QStringLiteral(": ") + fault));
            // The shelf shows the page's saves in the page's order.
            QVERIFY2(ids(w.view.shelfPage().visibleOrder()) == ids(page.visibleItems()), qPrintable(step));
        }
    }
};

QTEST_MAIN(ShelfRoadsTest)
#include "tst_shelfroads.moc"
