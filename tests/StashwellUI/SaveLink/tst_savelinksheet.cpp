#include "StashwellUI/SaveLink/SaveLinkSheet.h"
#include "StashwellUI/Controls/BusySpinner.h"
#include "StashwellUI/Controls/CheckToggle.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassPicker.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/XGlyph.h"
#include "StashwellUI/SaveLink/SaveLinkOptions.h"
#include "ControlTesting.h"
#include "Gallery.h"
#include "PresentationFixtures.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::SaveLinkPhase)

namespace {

const QString aLink = QStringLiteral("https://x.com/someone/status/1");

// What the sheet reported.
struct Intents {
    explicit Intents(SaveLinkSheet &sheet) : fetch(&sheet, &SaveLinkSheet::fetchRequested), save(&sheet, &SaveLinkSheet::saveRequested),
                                             cancel(&sheet, &SaveLinkSheet::cancelRequested) {}
    QSignalSpy fetch;
    QSignalSpy save;
    QSignalSpy cancel;
};

Post xPost()
{
    Post p = post(xLink(QStringLiteral("some.one"), QStringLiteral("42")), {video(), image()},
                  QStringLiteral("First line of the post\nsecond\nthird\nfourth\nfifth"));
    p.author.name = QStringLiteral("Some One");
    p.author.handle = Handle{QStringLiteral("some.one")};
    return p;
}

Post webPost()
{
    Post p = post(webLink(), {page()}, QStringLiteral("A story about links"));
    p.author.name = QStringLiteral("The Daily Example");
    p.author.handle = Handle{QStringLiteral("news.example.com")};
    return p;
}

Collection collection(int n, const QString &name, Swatch swatch)
{
    return Collection{Collection::ID(fixedUuid(100 + n)), name, swatch};
}

// Shows the sheet under a window, as the page opens it.
struct Presented {
    QWidget window;
    SaveLinkSheet *sheet;
    Presented()
    {
        window.resize(800, 700);
        window.show();
        sheet = new SaveLinkSheet(&window);
    }
    bool open(const SaveLinkPhase &phase, const QString &url)
    {
        sheet->setUrl(url);
        sheet->setPhase(phase);
        sheet->open();
        return QTest::qWaitForWindowExposed(sheet);
    }
};

// Where Return is pressed: the link field, the download checkbox, or the sheet itself.
QWidget *target(SaveLinkSheet &sheet, const QString &where)
{
    if (where == u"field")
        return sheet.linkField();
    if (where == u"checkbox")
        return sheet.options()->downloadToggle();
    return &sheet;
}

}  // namespace

class TestSaveLinkSheet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void phaseEquality_data();
    void phaseEquality();
    void mainButton_data();
    void mainButton();
    void returnRaisesOneIntent_data();
    void returnRaisesOneIntent();
    void returnThroughTheWholeRoad();
    void typingReportsTheLink();
    void escapeAndClosingCancel_data();
    void escapeAndClosingCancel();
    void opensWithoutNestedLoop();
    void panelPerPhase();
    void fetchingText_data();
    void fetchingText();
    void authorRow_data();
    void authorRow();
    void options();
    void spinnerRestsWithoutAnimations();
    void gallery();
    void galleryJapanese();
};

void TestSaveLinkSheet::phaseEquality_data()
{
    QTest::addColumn<SaveLinkPhase>("a");
    QTest::addColumn<SaveLinkPhase>("b");
    QTest::addColumn<bool>("equal");
    Post other = xPost();
    other.postedAt = Date{other.postedAt.sinceReference + 1};
    QTest::newRow("typing without problems") << SaveLinkPhase::typing() << SaveLinkPhase::typing() << true;
    QTest::newRow("a problem and none") << SaveLinkPhase::typing(QStringLiteral("No")) << SaveLinkPhase::typing() << false;
    QTest::newRow("an empty problem and none") << SaveLinkPhase::typing(QString()) << SaveLinkPhase::typing() << false;
    QTest::newRow("equivalent problems") << SaveLinkPhase::typing(QStringLiteral("caf\u00E9"))
                                         << SaveLinkPhase::typing(QStringLiteral("cafe\u0301")) << true;
    QTest::newRow("posts equal") << SaveLinkPhase::found(xPost()) << SaveLinkPhase::found(xPost()) << true;
    QTest::newRow("posts differ in the date") << SaveLinkPhase::found(xPost()) << SaveLinkPhase::found(other) << false;
    QTest::newRow("fetching") << SaveLinkPhase::fetching() << SaveLinkPhase::fetching() << true;
    QTest::newRow("fetching and typing") << SaveLinkPhase::fetching() << SaveLinkPhase::typing() << false;
}

void TestSaveLinkSheet::phaseEquality()
{
    QFETCH(SaveLinkPhase, a);
    QFETCH(SaveLinkPhase, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
}

void TestSaveLinkSheet::mainButton_data()
{
    QTest::addColumn<SaveLinkPhase>("phase");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("typing, no link") << SaveLinkPhase::typing() << QString() << "Fetch Post" << false;
    QTest::newRow("typing, spaces") << SaveLinkPhase::typing() << QStringLiteral("   ") << "Fetch Post" << true;
    QTest::newRow("typing, a link") << SaveLinkPhase::typing() << aLink << "Fetch Post" << true;
    QTest::newRow("typing with a problem") << SaveLinkPhase::typing(QStringLiteral("Not a link")) << QStringLiteral("nope")
                                           << "Fetch Post" << true;
    QTest::newRow("fetching") << SaveLinkPhase::fetching() << aLink << "Fetching\u2026" << false;
    QTest::newRow("found, field emptied") << SaveLinkPhase::found(xPost()) << QString() << "Save" << true;
}

void TestSaveLinkSheet::mainButton()
{
    QFETCH(SaveLinkPhase, phase);
    QFETCH(QString, url);
    QFETCH(QString, title);
    QFETCH(bool, enabled);
    SaveLinkSheet sheet;
    sheet.setPhase(phase);
    sheet.setUrl(url);
    QCOMPARE(sheet.mainButton()->title(), title);
    QCOMPARE(sheet.mainButton()->isEnabled(), enabled);
    QVERIFY(sheet.cancelButton()->isEnabled());

    // A click asks for what the button stands for, and only that.
    Intents intents(sheet);
    sheet.mainButton()->click();
    QCOMPARE(intents.fetch.count(), enabled && phase.isTyping() ? 1 : 0);
    QCOMPARE(intents.save.count(), phase.isFound() ? 1 : 0);
    QCOMPARE(intents.cancel.count(), 0);
    QCOMPARE(sheet.phase(), phase);
}

void TestSaveLinkSheet::returnRaisesOneIntent_data()
{
    QTest::addColumn<SaveLinkPhase>("phase");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("fetches");
    QTest::addColumn<int>("saves");
    // The field's Return is not guarded: what an empty link means is the page's question.
    QTest::newRow("field, empty") << SaveLinkPhase::typing() << QString() << "field" << 1 << 0;
    QTest::newRow("field, a link") << SaveLinkPhase::typing() << aLink << "field" << 1 << 0;
    QTest::newRow("field, after a problem") << SaveLinkPhase::typing(QStringLiteral("No")) << aLink << "field" << 1 << 0;
    QTest::newRow("checkbox, empty") << SaveLinkPhase::typing() << QString() << "checkbox" << 0 << 0;
    QTest::newRow("checkbox, spaces") << SaveLinkPhase::typing() << QStringLiteral("  ") << "checkbox" << 1 << 0;
    QTest::newRow("sheet, a link") << SaveLinkPhase::typing() << aLink << "sheet" << 1 << 0;
    QTest::newRow("found, checkbox") << SaveLinkPhase::found(xPost()) << aLink << "checkbox" << 0 << 1;
    QTest::newRow("found, sheet") << SaveLinkPhase::found(webPost()) << aLink << "sheet" << 0 << 1;
    QTest::newRow("fetching, sheet") << SaveLinkPhase::fetching() << aLink << "sheet" << 0 << 0;
}

void TestSaveLinkSheet::returnRaisesOneIntent()
{
    QFETCH(SaveLinkPhase, phase);
    QFETCH(QString, url);
    QFETCH(QString, where);
    QFETCH(int, fetches);
    QFETCH(int, saves);
    Presented presented;
    SaveLinkSheet &sheet = *presented.sheet;
    QVERIFY(presented.open(phase, url));
    QWidget *widget = target(sheet, where);
    widget->setFocus(Qt::TabFocusReason);
    const bool checked = sheet.options()->downloadToggle()->isChecked();

    Intents intents(sheet);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        intents.fetch.clear();
        intents.save.clear();
        QTest::keyClick(widget, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(intents.fetch.count(), fetches);
        QCOMPARE(intents.save.count(), saves);
    }
    QCOMPARE(intents.cancel.count(), 0);
    // Return never toggles the checkbox, never closes the sheet and never moves the phase.
    QCOMPARE(sheet.options()->downloadToggle()->isChecked(), checked);
    QVERIFY(sheet.isVisible());
    QCOMPARE(sheet.phase(), phase);
}

void TestSaveLinkSheet::returnThroughTheWholeRoad()
{
    // The page moves the phase as the user presses Return again and again; wherever the focus
    // went, each press raises what the phase allows and never a cancel.
    Presented presented;
    SaveLinkSheet &sheet = *presented.sheet;
    QVERIFY(presented.open(SaveLinkPhase::typing(), QString()));
    Intents intents(sheet);
    const auto pressReturn = [] {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        QTest::keyClick(focused, Qt::Key_Return);
    };
    QTest::keyClicks(QApplication::focusWidget(), aLink);
    pressReturn();
    QCOMPARE(intents.fetch.count(), 1);
    sheet.setPhase(SaveLinkPhase::fetching());
    pressReturn();
    pressReturn();
    QCOMPARE(intents.fetch.count(), 1);
    sheet.setPhase(SaveLinkPhase::found(xPost()));
    pressReturn();
    QCOMPARE(intents.save.count(), 1);
    sheet.setPhase(SaveLinkPhase::fetching());
    sheet.setPhase(SaveLinkPhase::typing(QStringLiteral("Could not reach the page")));
    pressReturn();
    QCOMPARE(intents.fetch.count(), 2);
    QCOMPARE(intents.save.count(), 1);
    QCOMPARE(intents.cancel.count(), 0);
}

void TestSaveLinkSheet::typingReportsTheLink()
{
    Presented presented;
    SaveLinkSheet &sheet = *presented.sheet;
    QVERIFY(presented.open(SaveLinkPhase::typing(), QString()));
    QSignalSpy edited(&sheet, &SaveLinkSheet::urlEdited);
    QVERIFY(!sheet.mainButton()->isEnabled());
    QTest::keyClick(sheet.linkField(), Qt::Key_Space);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.at(0).at(0).toString(), QStringLiteral(" "));
    QVERIFY(sheet.mainButton()->isEnabled());
    // The page's own text is shown, not reported back.
    sheet.setUrl(QString());
    QCOMPARE(edited.count(), 1);
    QVERIFY(!sheet.mainButton()->isEnabled());
}

void TestSaveLinkSheet::escapeAndClosingCancel_data()
{
    QTest::addColumn<SaveLinkPhase>("phase");
    QTest::addColumn<QString>("how");
    QTest::newRow("typing, escape in the field") << SaveLinkPhase::typing() << "field";
    QTest::newRow("found, escape") << SaveLinkPhase::found(xPost()) << "sheet";
    QTest::newRow("fetching, escape") << SaveLinkPhase::fetching() << "sheet";
    QTest::newRow("typing, cancel button") << SaveLinkPhase::typing() << "button";
    QTest::newRow("fetching, window closed") << SaveLinkPhase::fetching() << "close";
}

void TestSaveLinkSheet::escapeAndClosingCancel()
{
    QFETCH(SaveLinkPhase, phase);
    QFETCH(QString, how);
    Presented presented;
    SaveLinkSheet &sheet = *presented.sheet;
    QVERIFY(presented.open(phase, aLink));
    Intents intents(sheet);
    if (how == u"button")
        sheet.cancelButton()->click();
    else if (how == u"close")
        sheet.close();
    else
        QTest::keyClick(target(sheet, how), Qt::Key_Escape);
    QCOMPARE(intents.cancel.count(), 1);
    QCOMPARE(intents.fetch.count() + intents.save.count(), 0);
    // Closing is the page's to do.
    QVERIFY(sheet.isVisible());
    sheet.dismiss();
    QVERIFY(!sheet.isVisible());
    QCOMPARE(intents.cancel.count(), 1);
}

void TestSaveLinkSheet::opensWithoutNestedLoop()
{
    Presented presented;
    SaveLinkSheet &sheet = *presented.sheet;
    // exec() would nest an event loop; here it opens the sheet and comes straight back.
    QCOMPARE(sheet.exec(), 0);
    QVERIFY(sheet.isVisible());
    QCOMPARE(sheet.windowModality(), Qt::WindowModal);
    sheet.dismiss();
}

void TestSaveLinkSheet::panelPerPhase()
{
    SaveLinkSheet sheet;
    const auto shown = [&sheet] {
        QStringList panels;
        if (!sheet.typingPanel()->isHidden())
            panels << QStringLiteral("typing");
        if (!sheet.fetchingPanel()->isHidden())
            panels << QStringLiteral("fetching");
        if (!sheet.foundPanel()->isHidden())
            panels << QStringLiteral("found");
        if (!sheet.options()->isHidden())
            panels << QStringLiteral("options");
        return panels.join(u' ');
    };
    QCOMPARE(shown(), QStringLiteral("typing options"));
    QVERIFY(sheet.problemText()->isHidden());
    sheet.setPhase(SaveLinkPhase::typing(QStringLiteral("That is not a link & never was")));
    QVERIFY(!sheet.problemText()->isHidden());
    QCOMPARE(sheet.problemText()->text(), QStringLiteral("That is not a link & never was"));
    sheet.setPhase(SaveLinkPhase::fetching());
    QCOMPARE(shown(), QStringLiteral("fetching"));
    sheet.setPhase(SaveLinkPhase::found(xPost()));
    QCOMPARE(shown(), QStringLiteral("found options"));
    QCOMPARE(sheet.postText()->text(), xPost().text);
    QCOMPARE(sheet.postText()->maximumLines(), 4);
    sheet.setPhase(SaveLinkPhase::typing());
    QVERIFY(sheet.problemText()->isHidden());
}

void TestSaveLinkSheet::fetchingText_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("shown");
    QTest::newRow("secure link") << aLink << "x.com/someone/status/1";
    QTest::newRow("plain web") << "http://example.com/a" << "http://example.com/a";
    QTest::newRow("capital scheme") << "HTTPS://example.com" << "HTTPS://example.com";
    QTest::newRow("in the middle and twice") << "see https://a.example and https://b.example"
                                             << "see a.example and b.example";
    // One pass over the text: what the removal joins together stays.
    QTest::newRow("nested") << "hthttps://tps://x.com" << "https://x.com";
    QTest::newRow("spaces") << "   " << "   ";
}

void TestSaveLinkSheet::fetchingText()
{
    QFETCH(QString, url);
    QFETCH(QString, shown);
    QCOMPARE(SaveLinkSheet::fetchingLink(url), shown);
    SaveLinkSheet sheet;
    sheet.setUrl(url);
    sheet.setPhase(SaveLinkPhase::fetching());
    QCOMPARE(sheet.fetchingText()->text(), StashwellUIStrings::saveLinkFetching(shown));
    QCOMPARE(sheet.fetchingText()->maximumLines(), 1);
    // A link changed by the page while fetching is shown anew.
    sheet.setUrl(QStringLiteral("https://example.org"));
    QCOMPARE(sheet.fetchingText()->text(), StashwellUIStrings::saveLinkFetching(QStringLiteral("example.org")));
}

void TestSaveLinkSheet::authorRow_data()
{
    QTest::addColumn<Post>("post");
    QTest::addColumn<bool>("glyph");
    QTest::addColumn<QString>("text");
    QTest::newRow("x, a handle with a full stop") << xPost() << true << "@some.one";
    QTest::newRow("x") << post(xLink(QStringLiteral("Writer"))) << true << "@someone";
    QTest::newRow("web") << webPost() << false << "The Daily Example";
}

void TestSaveLinkSheet::authorRow()
{
    QFETCH(Post, post);
    QFETCH(bool, glyph);
    QFETCH(QString, text);
    SaveLinkSheet sheet;
    sheet.setPhase(SaveLinkPhase::found(post));
    QCOMPARE(!sheet.xGlyph()->isHidden(), glyph);
    QCOMPARE(sheet.authorLabel()->text(), text);
    QCOMPARE(SaveLinkSheet::authorText(post), text);
}

void TestSaveLinkSheet::options()
{
    SaveLinkSheet sheet;
    const QList<Collection> collections{collection(1, QStringLiteral("Zebra"), Swatch::blue),
                                        collection(2, QStringLiteral("Apple"), Swatch::pink)};
    sheet.setCollections(collections);
    SaveLinkOptions &options = *sheet.options();

    // Collections in the order given, after no collection.
    QStringList titles;
    for (const GlassPicker::Option &option : options.collectionPicker()->options())
        titles << option.title;
    QCOMPARE(titles, QStringList({QStringLiteral("No Collection"), QStringLiteral("Zebra"), QStringLiteral("Apple")}));
    QCOMPARE(SaveLinkOptions::collectionOptions({}).size(), 1);

    // A filing whose collection is gone reads as none and stays as it is.
    const Collection::ID gone(fixedUuid(999));
    sheet.setCollection(gone);
    QCOMPARE(options.collectionPicker()->currentTitle(), QStringLiteral("No Collection"));
    QCOMPARE(sheet.collection(), std::optional<Collection::ID>(gone));
    sheet.setCollection(collections.at(1).id);
    QCOMPARE(options.collectionPicker()->currentTitle(), QStringLiteral("Apple"));

    // Choosing from the menus reports the choice, also one already in force.
    QSignalSpy collectionSpy(&sheet, &SaveLinkSheet::collectionChanged);
    QSignalSpy qualitySpy(&sheet, &SaveLinkSheet::qualityChanged);
    QSignalSpy downloadSpy(&sheet, &SaveLinkSheet::downloadsMediaChanged);
    options.collectionPicker()->click();
    QMenu *menu = options.collectionPicker()->menu();
    QVERIFY(menu);
    menu->actions().at(0)->trigger();
    menu->hide();
    QCOMPARE(collectionSpy.count(), 1);
    QCOMPARE(sheet.collection(), std::nullopt);
    options.collectionPicker()->click();
    options.collectionPicker()->menu()->actions().at(1)->trigger();
    options.collectionPicker()->menu()->hide();
    QCOMPARE(sheet.collection(), std::optional<Collection::ID>(collections.at(0).id));

    QStringList qualities;
    for (const GlassPicker::Option &option : options.qualityPicker()->options())
        qualities << option.title;
    QCOMPARE(qualities, QStringList({Quality(Quality::original).title(), Quality(Quality::hd).title(), Quality(Quality::small).title()}));
    options.qualityPicker()->click();
    options.qualityPicker()->menu()->actions().at(2)->trigger();
    options.qualityPicker()->menu()->hide();
    QCOMPARE(qualitySpy.count(), 1);
    QCOMPARE(sheet.quality(), Quality(Quality::small));

    // The quality question is there only while media are downloaded.
    QVERIFY(options.showsQuality());
    options.downloadToggle()->click();
    QCOMPARE(downloadSpy.count(), 1);
    QCOMPARE(downloadSpy.at(0).at(0).toBool(), false);
    QVERIFY(!options.showsQuality());
    sheet.setDownloadsMedia(true);
    QVERIFY(options.showsQuality());
    QVERIFY(options.downloadToggle()->isChecked());
    QCOMPARE(downloadSpy.count(), 1);
}

void TestSaveLinkSheet::spinnerRestsWithoutAnimations()
{
    Presented presented;
    SaveLinkSheet &sheet = *presented.sheet;
    QVERIFY(presented.open(SaveLinkPhase::fetching(), aLink));
    QVERIFY(sheet.spinner()->isVisible());
    QVERIFY(!sheet.spinner()->isSpinning());
    QCOMPARE(sheet.spinner()->step(), 0);

    Tokens::Motion::setEnabled(true);
    sheet.setPhase(SaveLinkPhase::typing());
    sheet.setPhase(SaveLinkPhase::fetching());
    QVERIFY(sheet.spinner()->isSpinning());
    sheet.setPhase(SaveLinkPhase::found(xPost()));
    QVERIFY(!sheet.spinner()->isSpinning());
    Tokens::Motion::setEnabled(false);
}

void TestSaveLinkSheet::gallery()
{
    const QList<Collection> collections{collection(1, QStringLiteral("Reading"), Swatch::blue)};
    const QList<QPair<QString, SaveLinkPhase>> phases{
        {QStringLiteral("typing"), SaveLinkPhase::typing()},
        {QStringLiteral("typing-problem"), SaveLinkPhase::typing(QStringLiteral("This link is already in your library."))},
        {QStringLiteral("fetching"), SaveLinkPhase::fetching()},
        {QStringLiteral("found-x"), SaveLinkPhase::found(xPost())},
        {QStringLiteral("found-web"), SaveLinkPhase::found(webPost())},
    };
    for (const auto &[name, phase] : phases) {
        SaveLinkSheet sheet;
        sheet.setCollections(collections);
        sheet.setCollection(collections.at(0).id);
        sheet.setUrl(name == u"typing" ? QString() : aLink);
        sheet.setPhase(phase);
        QVERIFY(test::showWidget(sheet));
        QString why;
        QVERIFY2(gallery::captureAndCheck(sheet, QStringLiteral("savelinksheet-") + name, &why), qPrintable(why));
    }
}

void TestSaveLinkSheet::galleryJapanese()
{
    loadFonts(QLocale(QLocale::Japanese));
    QVERIFY(StashwellUIStrings::table().loadLanguage(QStringLiteral("ja")));
    SaveLinkSheet sheet;
    sheet.setUrl(aLink);
    sheet.setPhase(SaveLinkPhase::found(xPost()));
    QVERIFY(sheet.mainButton()->title() != QStringLiteral("Save"));
    QVERIFY(test::showWidget(sheet));
    QString why;
    const bool drawn = gallery::captureAndCheck(sheet, QStringLiteral("savelinksheet-found-ja"), &why);
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
    QVERIFY2(drawn, qPrintable(why));
}

QTEST_MAIN(TestSaveLinkSheet)
#include "tst_savelinksheet.moc"
