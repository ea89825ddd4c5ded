// Ordinary clicks, keys and searches over the real library page, its widgets and the Curator on
// scripted services, offscreen: after each step every card painter the shelf keeps stands where its
// save stands and draws the item shown (once, one kept for a save gone was read past its section).

#include "AwaitTask.h"
#include "PageRig.h"

#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Inspector/SaveInspector.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/Saves/LatestSaveHero.h"
#include "StashwellUI/Saves/SaveRow.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"

#include <QLineEdit>
#include <QMenu>
#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

Post numbered(int n)
{
    return post(xLink(QStringLiteral("someone"), QString::number(n)), {image(1000, QStringLiteral("https://pbs.example.com/%1.jpg").arg(n))},
                std::nullopt, QStringLiteral("post %1 %2").arg(n).arg(n % 2 ? "odd" : "even"));
}

// The first fault of the painters kept, or none.
QString keptFault(ShelfSurface &surface)
{
    surface.viewport()->repaint();
    for (const ShelfSurface::KeptPainter &kept : surface.keptPainters()) {
        const ShelfItem *there = surface.item(kept.block, kept.index);
        if (kept.drawn.save().id() != kept.id || (kept.index >= 0 && (!there || there->save().id() != kept.id)))
            return QStringLiteral("a painter at %1 of block %2 of another save or none").arg(kept.index).arg(kept.block);
        if (kept.index >= 0 && !(kept.drawn == *there) && surface.itemRect(kept.block, kept.index).intersects(surface.viewport()->rect()))
            return QStringLiteral("the card at %1 of block %2 drawn from an older item").arg(kept.index).arg(kept.block);
    }
    return {};
}

}  // namespace

class ShelfRoadsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    // Steps: "keep N" posts with media; "filter"/"list": recently added, the list layout; "hover",
    // "click", "menu", "double" on item I of collection block B (negative: from the end), with
    // "trash" or "shift"; "type TEXT" ("_" a space) and "erase" in the search; "right", "all" on
    // the shelf; "bin" the inspector's trash; "download" the latest save's pill to the end; "idle".
    void roads_data()
    {
        QTest::addColumn<int>("saves");
        QTest::addColumn<QString>("steps");
        QTest::newRow("last recent card trashed, latest save downloaded") << 0 << "keep 3;click -1 -1 trash;download";
        QTest::newRow("last card trashed, then an arrow") << 0 << "keep 3;click -1 -1 trash;right;right";
        QTest::newRow("last card trashed, then Select All") << 0 << "keep 3;click -1 -1 trash;all";
        QTest::newRow("recent card trashed, the next moving up") << 6 << "click 0 -1 trash;right;idle";
        QTest::newRow("card clicked, then a search") << 6 << "filter;click 0 1;type even;type _;erase";
        QTest::newRow("card's menu, then a search") << 6 << "filter;menu 0 1;hover 0 1;type even;type _";
        QTest::newRow("double-click in a larger library, search erased") << 60 << "filter;double 0 1;type even;type _;erase";
        QTest::newRow("selected card trashed in the inspector, another clicked") << 6 << "filter;click 0 1;bin;click 0 0;idle";
        QTest::newRow("Shift-click in the list, then a search") << 8 << "filter;list;click 0 1;click 0 -1 shift;type even;type _";
        QTest::newRow("hovered card leaves, then painting ahead") << 8 << "filter;hover 0 1;type even;idle;type _;idle";
    }

    void roads()
    {
        QFETCH(int, saves);
        QFETCH(QString, steps);
        QList<Save> library;
        for (int n = saves; n >= 1; --n)
            library.append(makeSave(n, numbered(n), 799990000 + 10 * n));
        PageRig rig(libraryOf(library));
        rig.curator().setDownloadsOnSave(false);
        LibraryPageView view(*rig.page);
        view.resize(1280, 800);
        view.show();
        ShelfSurface &surface = view.content().surface();
        QWidget *viewport = surface.viewport();
        const auto turn = [&] { QCoreApplication::processEvents(); view.refreshNow(); QCoreApplication::processEvents(); };
        for (const QString &step : steps.split(u';')) {
            turn();
            const QStringList w = step.split(u' ') << QString() << QString() << QString();
            if (w[0] == u"keep") {
                for (int n = 1; n <= w[1].toInt(); ++n)
                    QVERIFY(awaitTask(rig.curator().keep(numbered(100 + n))));
            } else if (w[0] == u"filter" || w[0] == u"list") {
                w[0] == u"filter" ? rig.page->setFilter(Filter::recentlyAdded()) : rig.page->setLayout(ShelfLayout::list);
            } else if (w[0] == u"type" || w[0] == u"erase") {
                for (const QChar c : w[0] == u"erase" ? QString(rig.page->query().size(), u'\b') : QString(w[1]).replace(u'_', u' ')) {
                    QLineEdit *edit = view.bar().searchField().lineEdit();
                    c == u'\b' ? QTest::keyClick(edit, Qt::Key_Backspace) : QTest::keyClick(edit, c.toLatin1());
                    turn();
                }
            } else if (w[0] == u"right" || w[0] == u"all") {
                w[0] == u"all" ? surface.selectAll() : QTest::keyClick(&surface, Qt::Key_Right);
            } else if (w[0] == u"bin") {
                QVERIFY(view.inspector());
                view.inspector()->trashButton().click();
            } else if (w[0] == u"download") {
                auto *hero = surface.findChild<LatestSaveHero *>();
                QVERIFY(hero);
                const PostLink link = hero->item().save().post().link;
                QTest::mouseClick(&hero->actionPill(), Qt::LeftButton);
                QVERIFY(settle([&] { return !rig.core.downloader->calls.isEmpty(); }));
                rig.core.downloader->send(0, Transfer::progress(400));
                QTest::qWait(2 * LibraryPage::progressRefreshMs);
                rig.core.downloader->play(0, TransferScript::arriving(1000));
                QVERIFY(settle([&] { return rig.curator().localMedia().copy(link).asOnThisComputer(); }));
            } else if (w[0] == u"idle") {
                QVERIFY(settle([&] { return !surface.preparing(); }));
            } else {
                // The pointer goes to the item's body or trash button and rests there: sent, since
                // the platform drops a move to where the last row left the pointer.
                QList<qsizetype> collections;
                for (qsizetype b = 0; b < surface.blocks().size(); ++b)
                    if (std::holds_alternative<ShelfCollection>(surface.blocks().at(b)))
                        collections.append(b);
                const qsizetype block = collections.value(w[1].toInt() < 0 ? collections.size() + w[1].toInt() : w[1].toInt(), -1);
                const auto *c = block >= 0 ? std::get_if<ShelfCollection>(&surface.blocks().at(block)) : nullptr;
                QVERIFY2(c, qPrintable(step));
                const qsizetype index = w[2].toInt() < 0 ? c->items.size() + w[2].toInt() : w[2].toInt();
                surface.scrollToItem(c->items.at(index).save().id());
                const QRectF cell = surface.itemRect(block, index);
                const SaveCard card(c->items.at(index), c->now, false);
                const SaveCard::Layout parts = card.layout(QRectF(cell.topLeft(), QSizeF(cell.width(), card.height())), {});
                const QRectF body = c->layout == ShelfLayout::list ? SaveRow(c->items.at(index), c->now, false).layout(cell).name : parts.meta;
                const QPoint spot = (w[3] == u"trash" ? parts.trash->center() : body.center()).toPoint();
                QCursor::setPos(viewport->mapToGlobal(spot));
                QMouseEvent move(QEvent::MouseMove, QPointF(spot), viewport->mapToGlobal(QPointF(spot)), Qt::NoButton, Qt::NoButton, {});
                QCoreApplication::sendEvent(viewport, &move);
                const Qt::KeyboardModifiers modifiers = w[3] == u"shift" ? Qt::ShiftModifier : Qt::NoModifier;
                if (w[0] == u"click")
                    QTest::mouseClick(viewport, Qt::LeftButton, modifiers, spot);
                else if (w[0] == u"double")
                    QTest::mouseDClick(viewport, Qt::LeftButton, modifiers, spot);
                else if (w[0] == u"menu") {
                    QContextMenuEvent menu(QContextMenuEvent::Mouse, spot, viewport->mapToGlobal(spot));
                    QCoreApplication::sendEvent(viewport, &menu);
                    qDeleteAll(surface.findChildren<QMenu *>(Qt::FindDirectChildrenOnly));
                }
            }
            turn();
            const QString fault = keptFault(surface);
            QVERIFY2(fault.isEmpty(), qPrintable(step + QStringLiteral(": ") + fault));
        }
    }
};

QTEST_MAIN(ShelfRoadsTest)
#include "tst_shelfroads.moc"
