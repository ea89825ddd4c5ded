#include "StashwellUI/QuickSave/QuickSavePopover.h"
#include "StashwellUI/Controls/BusySpinner.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/QuickSave/CollectionPullDown.h"
#include "StashwellUI/QuickSave/RecentRow.h"
#include "ControlTesting.h"
#include "Gallery.h"
#include "PresentationFixtures.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace sw;
using namespace sw::fixtures;

using OptionalID = std::optional<sw::Collection::ID>;
Q_DECLARE_METATYPE(sw::QuickSaveState)
Q_DECLARE_METATYPE(OptionalID)
Q_DECLARE_METATYPE(QList<sw::Collection>)

namespace {

constexpr double now = 700000000;

Collection collection(int n, const QString &name, Swatch swatch)
{
    return Collection{Collection::ID(fixedUuid(100 + n)), name, swatch};
}

Post foundPost()
{
    Post p = post(xLink(QStringLiteral("harbour"), QStringLiteral("7")), {image(1), image(2)},
                  QStringLiteral("Evening light over the harbour.\nThe boats come in one by one.\nGulls.\nAnd then the dark."));
    p.author.name = QStringLiteral("Harbour Notes");
    p.author.handle = Handle{QStringLiteral("harbour")};
    return p;
}

// The panel shown, by name; "" when none or several are.
QString shownPanel(const QuickSavePopover &popover)
{
    const QList<QPair<QString, QWidget *>> panels{{QStringLiteral("nothingCopied"), popover.nothingCopiedPanel()},
                                                  {QStringLiteral("looking"), popover.lookingPanel()},
                                                  {QStringLiteral("found"), popover.foundPanel()},
                                                  {QStringLiteral("refused"), popover.refusedPanel()},
                                                  {QStringLiteral("saved"), popover.savedPanel()}};
    QStringList shown;
    for (const auto &[name, panel] : panels) {
        if (!panel->isHidden())
            shown << name;
    }
    return shown.size() == 1 ? shown.first() : QString();
}

QList<ShelfItem> recentItems(int count)
{
    QList<ShelfItem> items;
    for (int n = 1; n <= count; ++n) {
        Post p = post(xLink(QStringLiteral("writer%1").arg(n), QString::number(n)), {image(n)},
                      QStringLiteral("Recent post number %1\nwith more").arg(n));
        p.author.handle = Handle{QStringLiteral("writer%1").arg(n)};
        items.append(item(save(p, n, Date{now - 600.0 * n})));
    }
    return items;
}

}  // namespace

class TestQuickSavePopover : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void stateEquality_data();
    void stateEquality();
    void panelPerState_data();
    void panelPerState();
    void pickerLabel_data();
    void pickerLabel();
    void pickerMenu();
    void buttonsReport();
    void hotKeyChip();
    void gallery();
};

void TestQuickSavePopover::stateEquality_data()
{
    QTest::addColumn<QuickSaveState>("a");
    QTest::addColumn<QuickSaveState>("b");
    QTest::addColumn<bool>("equal");
    Post otherText = foundPost();
    otherText.text += u'!';
    Post otherPreview = foundPost();
    otherPreview.preview = url(QStringLiteral("https://pbs.example.com/preview.jpg"));
    const QString link = QStringLiteral("https://x.com/a/status/1");
    QTest::newRow("same link") << QuickSaveState::looking(link) << QuickSaveState::looking(link) << true;
    QTest::newRow("other link") << QuickSaveState::looking(link) << QuickSaveState::looking(link + u'2') << false;
    QTest::newRow("same post") << QuickSaveState::found(foundPost()) << QuickSaveState::found(foundPost()) << true;
    QTest::newRow("post text differs") << QuickSaveState::found(foundPost()) << QuickSaveState::found(otherText) << false;
    QTest::newRow("post preview differs") << QuickSaveState::found(foundPost()) << QuickSaveState::found(otherPreview) << false;
    QTest::newRow("equivalent messages") << QuickSaveState::refused(QStringLiteral("d\u00E9j\u00E0"))
                                         << QuickSaveState::refused(QStringLiteral("de\u0301ja\u0300")) << true;
    QTest::newRow("refused and saved, same text") << QuickSaveState::refused(QStringLiteral("x")) << QuickSaveState::saved(QStringLiteral("x"))
                                                  << false;
    QTest::newRow("nothing copied") << QuickSaveState::nothingCopied() << QuickSaveState() << true;
    QTest::newRow("nothing and an empty link") << QuickSaveState::nothingCopied() << QuickSaveState::looking(QString()) << false;
}

void TestQuickSavePopover::stateEquality()
{
    QFETCH(QuickSaveState, a);
    QFETCH(QuickSaveState, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
}

void TestQuickSavePopover::panelPerState_data()
{
    QTest::addColumn<QuickSaveState>("state");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("text");   // the state's text as shown
    const QString longLink = QStringLiteral("https://x.com/someone/status/") + QString(80, u'1');
    const QString longMessage = QStringLiteral("This link points to a page that could not be read, ") .repeated(4);
    QTest::newRow("nothing copied") << QuickSaveState::nothingCopied() << "nothingCopied" << QString();
    QTest::newRow("looking") << QuickSaveState::looking(longLink) << "looking" << StashwellUIStrings::quickSaveReading(longLink);
    QTest::newRow("found") << QuickSaveState::found(foundPost()) << "found" << foundPost().text;
    QTest::newRow("refused") << QuickSaveState::refused(longMessage) << "refused" << longMessage;
    QTest::newRow("saved") << QuickSaveState::saved(QStringLiteral("Saved & filed")) << "saved" << "Saved & filed";
}

void TestQuickSavePopover::panelPerState()
{
    QFETCH(QuickSaveState, state);
    QFETCH(QString, panel);
    QFETCH(QString, text);
    QuickSavePopover popover;
    popover.setState(QuickSaveState::found(foundPost()));
    popover.setState(state);
    QCOMPARE(shownPanel(popover), panel);
    if (panel == u"looking") {
        QCOMPARE(popover.lookingText()->text(), text);
        QCOMPARE(popover.lookingText()->maximumLines(), 1);
    } else if (panel == u"found") {
        QCOMPARE(popover.postText()->text(), text);
        QCOMPARE(popover.postText()->maximumLines(), 3);
    } else if (panel == u"refused") {
        // Never cut: as many lines as it needs.
        QCOMPARE(popover.refusedText()->text(), text);
        QCOMPARE(popover.refusedText()->maximumLines(), int(StyledText::unlimited));
        QVERIFY(popover.refusedText()->lineCount(300) > 1);
    } else if (panel == u"saved") {
        QCOMPARE(popover.savedText()->text(), text);
    }
    // The choice of collection and Save belong to the found state; the footer to every state.
    QCOMPARE(popover.collectionPicker()->isVisibleTo(&popover), panel == u"found");
    QCOMPARE(popover.saveButton()->isVisibleTo(&popover), panel == u"found");
    QVERIFY(popover.saveButton()->isEnabled());
    QVERIFY(popover.openButton()->isVisibleTo(&popover));
    QVERIFY(popover.settingsButton()->isVisibleTo(&popover));
    QVERIFY(popover.recentList()->isVisibleTo(&popover));
}

void TestQuickSavePopover::pickerLabel_data()
{
    QTest::addColumn<QList<Collection>>("collections");
    QTest::addColumn<OptionalID>("current");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("swatch");
    const Collection reading = collection(1, QStringLiteral("Reading"), Swatch::blue);
    const Collection talks = collection(2, QStringLiteral("Talks"), Swatch::pink);
    Collection twin = talks;
    twin.name = QStringLiteral("Talks again");
    twin.swatch = Swatch::green;
    QTest::newRow("none") << QList<Collection>{reading} << OptionalID() << "No Collection" << false;
    QTest::newRow("a collection") << QList<Collection>{reading, talks} << OptionalID(talks.id) << "Talks" << true;
    QTest::newRow("an unknown collection") << QList<Collection>{reading} << OptionalID(Collection::ID(fixedUuid(999)))
                                           << "No Collection" << false;
    QTest::newRow("no collections at all") << QList<Collection>{} << OptionalID(reading.id) << "No Collection" << false;
    QTest::newRow("two with one id: the first") << QList<Collection>{reading, talks, twin} << OptionalID(talks.id) << "Talks" << true;
}

void TestQuickSavePopover::pickerLabel()
{
    QFETCH(QList<Collection>, collections);
    QFETCH(OptionalID, current);
    QFETCH(QString, title);
    QFETCH(bool, swatch);
    QuickSavePopover popover;
    popover.setCollections(collections);
    popover.setCollection(current);
    const CollectionPullDown::Label label = popover.collectionPicker()->shownLabel();
    QCOMPARE(label.title, title);
    QCOMPARE(label.swatch.has_value(), swatch);
    if (swatch)
        QCOMPARE(*label.swatch, Swatch::pink);
    // The choice stays as given, also when no collection has it.
    QCOMPARE(popover.collection(), current);
}

void TestQuickSavePopover::pickerMenu()
{
    QuickSavePopover popover;
    popover.setState(QuickSaveState::found(foundPost()));
    CollectionPullDown &picker = *popover.collectionPicker();

    QMenu *menu = picker.menu();
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("No Collection"));
    QVERIFY(menu->actions().at(1)->isSeparator());

    const QList<Collection> collections{collection(1, QStringLiteral("Zebra & co"), Swatch::blue),
                                        collection(2, QStringLiteral("Apple"), Swatch::green)};
    popover.setCollections(collections);
    popover.setCollection(Collection::ID(fixedUuid(999)));
    menu = picker.menu();
    QStringList titles;
    for (QAction *action : menu->actions()) {
        titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QVERIFY(!action->isCheckable());
    }
    QCOMPARE(titles, QStringList({QStringLiteral("No Collection"), QStringLiteral("-"), QStringLiteral("Zebra && co"), QStringLiteral("Apple")}));

    QSignalSpy changed(&popover, &QuickSavePopover::collectionChanged);
    menu->actions().at(3)->trigger();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<OptionalID>(), OptionalID(collections.at(1).id));
    QCOMPARE(popover.collection(), OptionalID(collections.at(1).id));
    QCOMPARE(picker.shownLabel().title, QStringLiteral("Apple"));
    // Picking the choice already made reports it again; so does picking none.
    picker.menu()->actions().at(3)->trigger();
    picker.menu()->actions().at(0)->trigger();
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(2).at(0).value<OptionalID>(), OptionalID());
    QCOMPARE(picker.shownLabel().title, QStringLiteral("No Collection"));
}

void TestQuickSavePopover::buttonsReport()
{
    QuickSavePopover popover;
    popover.setState(QuickSaveState::found(foundPost()));
    const QList<ShelfItem> items = recentItems(3);
    popover.setRecent(items, Date{now});
    QSignalSpy save(&popover, &QuickSavePopover::saveRequested);
    QSignalSpy open(&popover, &QuickSavePopover::openAppRequested);
    QSignalSpy settings(&popover, &QuickSavePopover::settingsRequested);
    QSignalSpy selected(&popover, &QuickSavePopover::selected);
    popover.saveButton()->click();
    popover.openButton()->click();
    popover.settingsButton()->click();
    popover.recentList()->rows().at(2)->click();
    QCOMPARE(save.count(), 1);
    QCOMPARE(open.count(), 1);
    QCOMPARE(settings.count(), 1);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).value<Save::ID>(), items.at(2).save().id());
    // The popover moves no state itself.
    QCOMPARE(popover.state(), QuickSaveState::found(foundPost()));
}

void TestQuickSavePopover::hotKeyChip()
{
    QCOMPARE(QuickSavePopover::hotKeyText(), QStringLiteral("Ctrl+Alt+D"));
}

void TestQuickSavePopover::gallery()
{
    const QList<Collection> collections{collection(1, QStringLiteral("Reading"), Swatch::blue)};
    const QList<QPair<QString, QuickSaveState>> states{
        {QStringLiteral("nothing"), QuickSaveState::nothingCopied()},
        {QStringLiteral("looking"), QuickSaveState::looking(QStringLiteral("https://x.com/harbour/status/1790000000000000000"))},
        {QStringLiteral("found"), QuickSaveState::found(foundPost())},
        {QStringLiteral("refused"), QuickSaveState::refused(QStringLiteral(
                                        "This is not a link to a post. Copy the address of a post on X or of a web page, then open this panel again."))},
        {QStringLiteral("saved"), QuickSaveState::saved(QStringLiteral("Saved to your library"))},
    };
    for (const auto &[name, state] : states) {
        QuickSavePopover popover;
        popover.setCollections(collections);
        popover.setCollection(collections.at(0).id);
        popover.setRecent(name == u"saved" ? QList<ShelfItem>{} : recentItems(3), Date{now});
        popover.setState(state);
        QVERIFY(test::showWidget(popover));
        QString why;
        QVERIFY2(gallery::captureAndCheck(popover, QStringLiteral("quicksave-") + name, &why), qPrintable(why));
    }
}

QTEST_MAIN(TestQuickSavePopover)
#include "tst_quicksavepopover.moc"
