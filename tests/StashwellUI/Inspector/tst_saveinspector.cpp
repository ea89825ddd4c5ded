#include "ControlTesting.h"
#include "FakePlayback.h"
#include "Gallery.h"
#include "InspectorFixtures.h"
#include "StashwellUI/Controls/AddTagField.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Controls/TagChip.h"
#include "StashwellUI/Inspector/CollectionPicker.h"
#include "StashwellUI/Inspector/LocalMediaSection.h"
#include "StashwellUI/Inspector/NoteSection.h"
#include "StashwellUI/Inspector/SaveInspector.h"
#include "StashwellUI/Inspector/TagsSection.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Playback/PlayerControlBar.h"
#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/Saves/Paging.h"

#include <QTemporaryDir>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

using namespace sw;
using namespace sw::inspectorfixtures;

namespace {

const MediaFolder mediaFolder(url(QStringLiteral("file:///home/ann/Videos/Stashwell")));
const Date now{5000};
const Collection reading{Collection::ID(fixtures::fixedUuid(50)), QStringLiteral("Reading"), Swatch::blue};
const Collection cooking{Collection::ID(fixtures::fixedUuid(51)), QStringLiteral("Cooking"), Swatch::pink};

// A save with a note, tags and a collection.
Save annotated(int n, Post post, const QString &note, QList<Tag> tags = {},
               std::optional<Collection::ID> collection = std::nullopt, bool trashed = false)
{
    return Save(saveID(n), std::move(post), Date{1000}, false, collection, std::move(tags), note,
                trashed ? std::optional<Date>(Date{2000}) : std::nullopt);
}

// What the inspector reported, in order, with the save each was for.
struct Heard {
    QList<std::pair<Save::ID, SaveIntent>> intents;
    std::function<void(const Save::ID &, const SaveIntent &)> also;

    void listen(SaveInspector &inspector)
    {
        QObject::connect(&inspector, &SaveInspector::intentRaised, [this](const Save::ID &id, const SaveIntent &intent) {
            intents.append({id, intent});
            if (also)
                also(id, intent);
        });
    }
    QStringList names() const
    {
        QStringList all;
        for (const auto &[id, intent] : intents)
            all.append(QString::fromLatin1(intent.caseName().data(), qsizetype(intent.caseName().size())));
        return all;
    }
};

// A window with the page memory, holding the inspector.
struct Window {
    QWidget root;
    Paging paging;
    SaveInspector *inspector;
    test::FakeFactory fakes;

    explicit Window(const ShelfItem &item, QList<Collection> collections = {reading, cooking}, bool withPaging = true)
    {
        if (withPaging)
            Paging::install(&root, &paging);
        auto *layout = new QVBoxLayout(&root);
        layout->setContentsMargins(0, 0, 0, 0);
        inspector = new SaveInspector(item, collections, mediaFolder, now);
        inspector->setPlaybackFactory(fakes.factory());
        layout->addWidget(inspector);
        root.resize(360, 900);
    }
};

// The item with a cover of its own (a dusky gradient) in `folder`, shown on its first page.
ShelfItem withCover(ShelfItem shown, const QTemporaryDir &folder)
{
    QImage cover(480, 270, QImage::Format_RGB32);
    QLinearGradient sky(0, 0, 0, 270);
    sky.setColorAt(0, QColor(250, 190, 120));
    sky.setColorAt(1, QColor(90, 60, 130));
    QPainter(&cover).fillRect(cover.rect(), sky);
    const Url path = Url::fromLocalFile(folder.filePath(QStringLiteral("cover.png")));
    cover.save(path.toLocalFile());
    std::vector<std::optional<Url>> pictures = shown.pictures();
    pictures.at(0) = path;
    shown.setCover(path);
    shown.setPictures(pictures);
    return shown;
}

ShelfItem videoAndPictureHere()
{
    const Post p = post(xLink(QStringLiteral("ann"), QStringLiteral("90")), {video(75.4), image()});
    return item(save(1, p), LocalCopy::onThisComputer({LocalFile{MediaFolder::fileName(p, 0), 4096},
                                                  LocalFile{MediaFolder::fileName(p, 1), 2048}}));
}

}  // namespace

class TestSaveInspector : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void buttonsRaiseTheirIntents_data();
    void buttonsRaiseTheirIntents();
    void trashedSave();
    void textPostHasNoMedia();
    void playerOnlyOnTheVideosPage();
    void unsafeVideoNameShowsTheThumbnail();
    void pagerTurnsThroughThePageMemory_data();
    void pagerTurnsThroughThePageMemory();
    void pickerClosesBeforeItReports_data();
    void pickerClosesBeforeItReports();
    void pickerClosedElsewhereRaisesNothing();
    void tagsRaiseTheirIntents();
    void noteNeverMovesToAnotherSave();
    void noteRaisesOnlyWhenItDiffers();
    void intentCarriesTheSaveItWasRaisedFor();
    void gallery_data();
    void gallery();
};

void TestSaveInspector::buttonsRaiseTheirIntents_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("copy");   // the item, in letters
    QTest::addColumn<QString>("intent");
    QTest::newRow("favourite") << "favourite" << "iL" << "favourite";
    QTest::newRow("trash") << "trash" << "iL" << "trash";
    QTest::newRow("close") << "close" << "iL" << "close";
    QTest::newRow("action pill") << "pill" << "iL" << "action";
    QTest::newRow("copy link") << "copyLink" << "iL" << "copyLink";
    QTest::newRow("open original") << "openOriginal" << "iL" << "openOriginal";
    QTest::newRow("section pill, link only") << "sectionPill" << "iL" << "action";
    QTest::newRow("section pill, failed") << "sectionPill" << "iF" << "action";
    QTest::newRow("show in file manager") << "reveal" << "iH" << "reveal";
    QTest::newRow("remove local copy") << "remove" << "iH" << "removeLocalCopy";
}

void TestSaveInspector::buttonsRaiseTheirIntents()
{
    QFETCH(QString, button);
    QFETCH(QString, copy);
    QFETCH(QString, intent);
    const ShelfItem shown = itemOf(copy, 3);
    Window window(shown);
    QVERIFY(test::showWidget(window.root));
    SaveInspector &inspector = *window.inspector;
    const QHash<QString, QAbstractButton *> buttons{
        {"favourite", &inspector.favouriteButton()},       {"trash", &inspector.trashButton()},
        {"close", &inspector.closeButton()},               {"pill", &inspector.actionPill()},
        {"copyLink", &inspector.copyLinkButton()},         {"openOriginal", &inspector.openOriginalButton()},
        {"sectionPill", &inspector.localMedia().actionPill()}, {"reveal", &inspector.localMedia().revealButton()},
        {"remove", &inspector.localMedia().removeButton()}};
    QAbstractButton *pressed = buttons.value(button);
    QVERIFY(pressed->isVisible());
    Heard heard;
    heard.listen(inspector);
    QTest::mouseClick(pressed, Qt::LeftButton, {}, pressed->rect().center());
    QCOMPARE(heard.names(), QStringList{intent});
    QCOMPARE(heard.intents[0].first, shown.save().id());
    if (intent == u"action")
        QCOMPARE(heard.intents[0].second.as<SaveIntent::Action>()->action, shown.action());
}

void TestSaveInspector::trashedSave()
{
    Window window(itemOf("vLT", 1));
    QVERIFY(test::showWidget(window.root));
    QVERIFY(window.inspector->trashButton().isHidden());
    QCOMPARE(window.inspector->actionPill().action(), Action::restore());
    QCOMPARE(window.inspector->localMedia().actionPill().action(), Action::restore());
    // Restored: the trash button comes back.
    window.inspector->setItem(itemOf("vL", 1));
    QVERIFY(window.inspector->trashButton().isVisible());
}

void TestSaveInspector::textPostHasNoMedia()
{
    Window window(itemOf("tL", 1));
    QVERIFY(test::showWidget(window.root));
    QVERIFY(window.inspector->mediaArea().isHidden());
    QVERIFY(window.inspector->localMedia().isHidden());
    window.inspector->setItem(itemOf("iL", 1));
    QVERIFY(window.inspector->mediaArea().isVisible());
    QVERIFY(window.inspector->localMedia().isVisible());
}

void TestSaveInspector::playerOnlyOnTheVideosPage()
{
    QTemporaryDir covers;
    const ShelfItem shown = withCover(videoAndPictureHere(), covers);
    Window window(shown);
    QVERIFY(test::showWidget(window.root));
    SaveInspector &inspector = *window.inspector;
    QVERIFY(inspector.player());
    QCOMPARE(inspector.playerFile()->fileName(), MediaFolder::fileName(shown.save().post(), 0));
    QVERIFY(inspector.thumbnail().isHidden());
    QCOMPARE(window.fakes.count(), 1);
    // Not an empty box: the save's cover with the play mark, until the user plays it.
    QVERIFY(inspector.player()->showsPoster());
    QCOMPARE(inspector.player()->poster(), shown.cover());
    QTRY_VERIFY_WITH_TIMEOUT(inspector.player()->posterPicture() != nullptr, 20'000);
    inspector.player()->controls().playButton().click();
    QVERIFY(window.fakes.last()->isPlaying() && !inspector.player()->showsPoster());

    inspector.turnPage(+1);
    QVERIFY(!inspector.player());
    QVERIFY(inspector.thumbnail().isVisible());
    QCOMPARE(inspector.pagerText(), QStringLiteral("2 / 2"));
    // The player that went away was paused on its way out.
    QTRY_VERIFY(!window.fakes.at(0) || !window.fakes.at(0)->isPlaying());

    inspector.turnPage(+1);
    QVERIFY(inspector.player());
    QCOMPARE(window.fakes.count(), 2);
    QCOMPARE(window.fakes.last()->plays, 0);   // a new player, which does not start by itself
    QVERIFY(inspector.player()->showsPoster());

    // Not on this computer: always the thumbnail.
    inspector.setItem(itemOf("vL", 1));
    QVERIFY(!inspector.player());
}

void TestSaveInspector::unsafeVideoNameShowsTheThumbnail()
{
    const Post p = post(xLink(QStringLiteral("ann"), QStringLiteral("91")), {video(10)});
    Window window(item(save(1, p), LocalCopy::onThisComputer({LocalFile{QStringLiteral(".."), 10}})));
    QVERIFY(test::showWidget(window.root));
    QVERIFY(!window.inspector->player());
    QVERIFY(window.inspector->thumbnail().isVisible());
    QCOMPARE(window.fakes.count(), 0);
}

void TestSaveInspector::pagerTurnsThroughThePageMemory_data()
{
    QTest::addColumn<bool>("paging");
    QTest::newRow("page memory") << true;
    QTest::newRow("no page memory") << false;
}

void TestSaveInspector::pagerTurnsThroughThePageMemory()
{
    QFETCH(bool, paging);
    ShelfItem shown = itemOf("iL", 1);
    shown.setPictures(pictureList(3));
    Window window(shown, {}, paging);
    QVERIFY(test::showWidget(window.root));
    SaveInspector &inspector = *window.inspector;
    QVERIFY(inspector.pager().isVisible());
    QCOMPARE(inspector.pagerText(), QStringLiteral("1 / 3"));
    inspector.previousButton().click();
    QCOMPARE(inspector.pagerText(), paging ? QStringLiteral("3 / 3") : QStringLiteral("1 / 3"));
    inspector.nextButton().click();
    inspector.nextButton().click();
    QCOMPARE(inspector.pagerText(), paging ? QStringLiteral("2 / 3") : QStringLiteral("1 / 3"));
    // The thumbnail shows the same page.
    QCOMPARE(inspector.thumbnail().currentPage(), paging ? 1 : 0);

    // One picture: no pager.
    ShelfItem single = itemOf("vL", 2);
    single.setPictures(pictureList(1));
    inspector.setItem(single);
    QVERIFY(inspector.pager().isHidden());
}

void TestSaveInspector::pickerClosesBeforeItReports_data()
{
    QTest::addColumn<std::optional<Collection::ID>>("filedIn");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("intent");
    QTest::addColumn<std::optional<Collection::ID>>("payload");
    const std::optional<Collection::ID> none;
    QTest::newRow("into a collection") << none << 1 << "file" << std::optional<Collection::ID>(reading.id);
    QTest::newRow("the current one again") << std::optional<Collection::ID>(cooking.id) << 2 << "file"
                                           << std::optional<Collection::ID>(cooking.id);
    QTest::newRow("out of every collection") << std::optional<Collection::ID>(reading.id) << 0 << "file" << none;
    QTest::newRow("new collection") << none << 3 << "newCollection" << none;
}

void TestSaveInspector::pickerClosesBeforeItReports()
{
    QFETCH(std::optional<Collection::ID>, filedIn);
    QFETCH(int, row);
    QFETCH(QString, intent);
    QFETCH(std::optional<Collection::ID>, payload);
    Window window(item(annotated(1, postOfKind(u'i', 1), QString(), {}, filedIn)));
    QVERIFY(test::showWidget(window.root));
    CollectionPicker &picker = window.inspector->collectionPicker();
    QCOMPARE(picker.label(), filedIn == cooking.id ? QStringLiteral("Cooking")
                             : filedIn == reading.id ? QStringLiteral("Reading")
                                                     : StashwellUIStrings::collectionNone());
    picker.click();
    QPointer<CollectionMenu> menu = picker.menu();
    QVERIFY(menu && menu->isVisible());
    bool closedFirst = false;
    Heard heard;
    heard.also = [&](const Save::ID &, const SaveIntent &) { closedFirst = !picker.isChoosing() && !menu->isVisible(); };
    heard.listen(*window.inspector);
    menu->activate(row);
    QCOMPARE(heard.names(), QStringList{intent});
    QVERIFY(closedFirst);
    if (intent == u"file")
        QCOMPARE(heard.intents[0].second.as<SaveIntent::File>()->collection, payload);
    QTRY_VERIFY(!menu);
}

void TestSaveInspector::pickerClosedElsewhereRaisesNothing()
{
    // Filed in a collection the list does not hold: the label reads none, the menu checks nothing.
    const Collection::ID gone(fixtures::fixedUuid(77));
    Window window(item(annotated(1, postOfKind(u'i', 1), QString(), {}, gone)));
    QVERIFY(test::showWidget(window.root));
    CollectionPicker &picker = window.inspector->collectionPicker();
    QCOMPARE(picker.label(), StashwellUIStrings::collectionNone());
    Heard heard;
    heard.listen(*window.inspector);
    picker.click();
    QVERIFY(picker.isChoosing());
    for (const CollectionMenu::Row &menuRow : picker.menu()->menuRows())
        QVERIFY(!menuRow.checked);
    QTest::keyClick(picker.menu(), Qt::Key_Escape);
    picker.menu() ? picker.menu()->hide() : void();
    QVERIFY(!picker.isChoosing());
    // A second press opens it again; a press while open closes it.
    picker.click();
    QVERIFY(picker.isChoosing());
    picker.setChoosing(false);
    QVERIFY(!picker.isChoosing());
    QVERIFY(heard.intents.isEmpty());
}

void TestSaveInspector::tagsRaiseTheirIntents()
{
    const QList<Tag> tags{Tag{QStringLiteral("recipes")}, Tag{QStringLiteral("later")}};
    const Save first = annotated(1, postOfKind(u'i', 1), QString(), tags);
    Window window(item(first));
    QVERIFY(test::showWidget(window.root));
    SaveInspector &inspector = *window.inspector;
    Heard heard;
    // The page removes the tag at once: the chip whose button was pressed is renamed or goes.
    heard.also = [&](const Save::ID &, const SaveIntent &intent) {
        if (const auto *removal = intent.as<SaveIntent::RemoveTag>()) {
            QList<Tag> left = inspector.item().save().tags();
            left.removeAll(removal->tag);
            inspector.setItem(item(annotated(1, first.post(), QString(), left)));
        }
    };
    heard.listen(inspector);
    QCOMPARE(inspector.tags().chips().size(), 2);
    inspector.tags().chips()[0]->removeButton()->click();
    QCOMPARE(heard.intents.last().second, SaveIntent::removeTag(tags[0]));
    QCOMPARE(inspector.tags().chips().size(), 1);
    QCOMPARE(inspector.tags().chips()[0]->name(), QStringLiteral("later"));
    inspector.tags().chips()[0]->removeButton()->click();
    QCOMPARE(heard.intents.last().second, SaveIntent::removeTag(tags[1]));
    QVERIFY(inspector.tags().chips().isEmpty());

    AddTagField &field = inspector.tags().field();
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_Return);
    QCOMPARE(heard.intents.last().second, SaveIntent::addTag(QString()));
    QTest::keyClicks(&field, QStringLiteral(" Slow Food "));
    QTest::keyClick(&field, Qt::Key_Return);
    QCOMPARE(heard.intents.last().second, SaveIntent::addTag(QStringLiteral(" Slow Food ")));
    QVERIFY(field.text().isEmpty());
    // The typed tag stays while another save is shown.
    QTest::keyClicks(&field, QStringLiteral("half"));
    inspector.setItem(itemOf("vL", 2));
    QCOMPARE(field.text(), QStringLiteral("half"));
}

void TestSaveInspector::noteNeverMovesToAnotherSave()
{
    const Save a = annotated(1, postOfKind(u'i', 1), QStringLiteral("alpha"));
    const Save b = annotated(2, postOfKind(u'v', 2), QStringLiteral("beta"));
    Window window(item(a));
    QVERIFY(test::showWidget(window.root));
    SaveInspector &inspector = *window.inspector;
    NoteEditor &editor = inspector.note().editor();
    QCOMPARE(editor.toPlainText(), QStringLiteral("alpha"));

    // The page keeps each save's note as the intents say.
    QHash<Save::ID, QString> notes{{a.id(), a.note()}, {b.id(), b.note()}};
    Heard heard;
    heard.also = [&](const Save::ID &id, const SaveIntent &intent) {
        if (const auto *note = intent.as<SaveIntent::Note>())
            notes[id] = note->text;
    };
    heard.listen(inspector);

    editor.setFocus();
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, QStringLiteral(" one"));
    QCOMPARE(heard.intents.size(), 4);
    QCOMPARE(notes[a.id()], QStringLiteral("alpha one"));

    // A refresh arrives that still holds an older note of A: the editor and its cursor stay.
    const int cursor = editor.textCursor().position();
    inspector.setItem(item(annotated(1, a.post(), QStringLiteral("alpha o"))));
    QCOMPARE(editor.toPlainText(), QStringLiteral("alpha one"));
    QCOMPARE(editor.textCursor().position(), cursor);
    QCOMPARE(heard.intents.size(), 4);

    // B is shown, then a late refresh of A's item would be another switch; B keeps its own note.
    inspector.setItem(item(b));
    QCOMPARE(editor.toPlainText(), QStringLiteral("beta"));
    QCOMPARE(heard.intents.size(), 4);
    // Undo in the editor cannot bring A's text into B.
    QVERIFY(!editor.document()->isUndoAvailable());
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.toPlainText(), QStringLiteral("beta"));
    QCOMPARE(notes[a.id()], QStringLiteral("alpha one"));
    QCOMPARE(notes[b.id()], QStringLiteral("beta"));

    // Typing now writes B's note only.
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, QStringLiteral("!"));
    QCOMPARE(heard.intents.last().first, b.id());
    QCOMPARE(notes[b.id()], QStringLiteral("beta!"));
    QCOMPARE(notes[a.id()], QStringLiteral("alpha one"));
}

void TestSaveInspector::noteRaisesOnlyWhenItDiffers()
{
    Window window(item(annotated(1, postOfKind(u'i', 1), QStringLiteral("ab"))));
    QVERIFY(test::showWidget(window.root));
    NoteEditor &editor = window.inspector->note().editor();
    Heard heard;
    heard.listen(*window.inspector);
    editor.setFocus();
    editor.moveCursor(QTextCursor::End);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTest::keyClicks(&editor, QStringLiteral("b"));
    // "a" differs from the stored "ab"; typing back to "ab" is the stored note: nothing.
    QCOMPARE(heard.intents.size(), 1);
    QCOMPARE(heard.intents[0].second, SaveIntent::note(QStringLiteral("a")));
}

void TestSaveInspector::intentCarriesTheSaveItWasRaisedFor()
{
    Window window(itemOf("iL", 1));
    QVERIFY(test::showWidget(window.root));
    Heard heard;
    // The page shows another save while it handles the request.
    heard.also = [&](const Save::ID &, const SaveIntent &) { window.inspector->setItem(itemOf("vL", 2)); };
    heard.listen(*window.inspector);
    window.inspector->favouriteButton().click();
    QCOMPARE(heard.intents.size(), 1);
    QCOMPARE(heard.intents[0].first, saveID(1));
    QCOMPARE(window.inspector->item().save().id(), saveID(2));
}

void TestSaveInspector::gallery_data()
{
    QTest::addColumn<QString>("letters");
    QTest::newRow("linkOnly") << "iL";
    QTest::newRow("downloading") << "vD";
    QTest::newRow("onThisComputer") << "iH";
    QTest::newRow("failed") << "pF";
    QTest::newRow("text") << "tL";
    QTest::newRow("videoOnThisComputer") << "vH";
}

void TestSaveInspector::gallery()
{
    QFETCH(QString, letters);
    ShelfItem base = itemOf(letters, 1);
    const Post &p = base.save().post();
    Post described = p;
    described.text = QStringLiteral("Slow-cooked beans with rosemary: the recipe my grandmother never wrote down, "
                                    "finally on paper.");
    const Save kept = annotated(1, described, letters == u"iH" ? QStringLiteral("Try with chickpeas.") : QString(),
                                {Tag{QStringLiteral("recipes")}, Tag{QStringLiteral("weekend")}}, reading.id);
    QTemporaryDir covers;
    // A video's cover, as a poster over the player.
    const ShelfItem shown = letters == u"vH" ? withCover(item(kept, base.copy()), covers) : item(kept, base.copy());
    Window window(shown);
    window.inspector->setHomePath(QStringLiteral("/home/ann"));
    // Tall enough to show the whole column.
    window.root.resize(360, 1150);
    QVERIFY(test::showWidget(window.root));
    // The section shows the state of the copy, and its body by that state.
    LocalMediaSection &media = window.inspector->localMedia();
    QCOMPARE(media.isVisible(), letters != u"tL");
    QCOMPARE(media.status(), InspectorFacts::mediaStatus(base.copy()));
    const LocalMediaSection::Body body = letters == u"vD"   ? LocalMediaSection::Body::downloading
                                         : letters.endsWith(u'H') ? LocalMediaSection::Body::files
                                                         : LocalMediaSection::Body::onlyLinked;
    QCOMPARE(media.body(), body);
    QCOMPARE(media.actionPill().isVisibleTo(&media), body == LocalMediaSection::Body::onlyLinked);
    QCOMPARE(media.revealButton().isVisibleTo(&media), body == LocalMediaSection::Body::files);
    if (body == LocalMediaSection::Body::files) {
        QCOMPARE(std::size_t(media.fileRows().size()), p.attachments.size());
        QCOMPARE(media.folderText(), QStringLiteral("~/Videos/Stashwell"));
    }
    if (body == LocalMediaSection::Body::downloading)
        QCOMPARE(media.downloadFraction(), 0.25);
    if (InlinePlayer *player = window.inspector->player())
        QTRY_VERIFY_WITH_TIMEOUT(player->posterPicture() != nullptr, 20'000);
    QString why;
    QVERIFY2(gallery::captureAndCheck(*window.inspector,
                                      QStringLiteral("SaveInspector-%1").arg(QString::fromLatin1(QTest::currentDataTag())), &why),
             qPrintable(why));
}

QTEST_MAIN(TestSaveInspector)
#include "tst_saveinspector.moc"
