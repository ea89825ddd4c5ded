// The inline collection creator: when it confirms and cancels, what its message line says, and
// what it writes back.

#include "StashwellUI/Sidebar/CollectionCreator.h"

#include "ControlTesting.h"
#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace sw;

namespace {

// A form shown in a window of its own, its name field focused.
struct Shown {
    CollectionCreator form;
    QSignalSpy created{&form, &CollectionCreator::createRequested};
    QSignalSpy cancelled{&form, &CollectionCreator::cancelRequested};

    explicit Shown(bool canCreate)
    {
        form.setConfirmTitle(QStringLiteral("Create"));
        form.setCanCreate(canCreate);
        form.resize(240, form.heightForWidth(240));
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
};

}  // namespace

class TestCollectionCreator : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void gating_data();
    void gating();
    void message_data();
    void message();
    void typingWritesTheName();
    void everySwatchClickWrites();
    void exactlyOneSwatchIsChosen();
    void nameFieldTakesTheFocusEachTimeItShows();
    void equalValuesRepaintNothing();
};

void TestCollectionCreator::gating_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<bool>("canCreate");
    QTest::addColumn<int>("created");
    QTest::addColumn<int>("cancelled");
    QTest::newRow("Return, allowed") << "return" << true << 1 << 0;
    QTest::newRow("Return, not allowed") << "return" << false << 0 << 0;
    QTest::newRow("Enter, allowed") << "enter" << true << 1 << 0;
    QTest::newRow("confirm click, allowed") << "confirm" << true << 1 << 0;
    QTest::newRow("confirm click, not allowed") << "confirm" << false << 0 << 0;
    QTest::newRow("Escape, allowed") << "escape" << true << 0 << 1;
    QTest::newRow("Escape, not allowed") << "escape" << false << 0 << 1;
    QTest::newRow("Cancel click, not allowed") << "cancel" << false << 0 << 1;
}

void TestCollectionCreator::gating()
{
    QFETCH(QString, gesture);
    QFETCH(bool, canCreate);
    QFETCH(int, created);
    QFETCH(int, cancelled);
    Shown shown(canCreate);
    CollectionCreator &form = shown.form;
    QVERIFY(form.nameField()->hasFocus());
    QTest::keyClicks(form.nameField(), QStringLiteral("Reading"));
    if (gesture == u"return")
        QTest::keyClick(form.nameField(), Qt::Key_Return);
    else if (gesture == u"enter")
        QTest::keyClick(form.nameField(), Qt::Key_Enter);
    else if (gesture == u"escape")
        QTest::keyClick(form.nameField(), Qt::Key_Escape);
    else if (gesture == u"confirm")
        QTest::mouseClick(form.confirmButton(), Qt::LeftButton);
    else
        QTest::mouseClick(form.cancelButton(), Qt::LeftButton);
    QCOMPARE(shown.created.count(), created);
    QCOMPARE(shown.cancelled.count(), cancelled);
    QCOMPARE(form.confirmButton()->isEnabled(), canCreate);
}

void TestCollectionCreator::message_data()
{
    QTest::addColumn<std::optional<QString>>("problem");
    QTest::addColumn<bool>("filesSave");
    QTest::addColumn<QString>("confirmTitle");
    QTest::addColumn<QString>("expected");
    const QString filedHere = StashwellUIStrings::creatorFiledHere();
    QTest::newRow("hint") << std::optional<QString>() << false << "Create" << StashwellUIStrings::creatorHint("create");
    QTest::newRow("hint, filing a save") << std::optional<QString>() << true << "Create"
                                         << filedHere + StashwellUIStrings::creatorHint("create");
    QTest::newRow("title in capitals is lowered") << std::optional<QString>() << false << "RENAME"
                                                  << StashwellUIStrings::creatorHint("rename");
    QTest::newRow("problem replaces the hint") << std::optional<QString>("That name is taken.") << false << "Create"
                                               << "That name is taken.";
    QTest::newRow("problem replaces the filed hint too") << std::optional<QString>("That name is taken.") << true
                                                         << "Create" << "That name is taken.";
    QTest::newRow("an empty problem is still a problem") << std::optional<QString>(QString()) << true << "Create" << QString();
}

void TestCollectionCreator::message()
{
    QFETCH(std::optional<QString>, problem);
    QFETCH(bool, filesSave);
    QFETCH(QString, confirmTitle);
    QFETCH(QString, expected);
    CollectionCreator form;
    form.setConfirmTitle(confirmTitle);
    form.setFilesSave(filesSave);
    form.setProblem(problem);
    QCOMPARE(form.message(), expected);
    QCOMPARE(form.showsProblem(), problem.has_value());
    // The button keeps the title as given.
    QCOMPARE(test::accessibleName(form.confirmButton()), confirmTitle);
    // The hint line comes back once the problem is gone.
    form.setProblem(std::nullopt);
    QCOMPARE(form.message(), CollectionCreator::hint(confirmTitle, filesSave));
}

void TestCollectionCreator::typingWritesTheName()
{
    CollectionCreator form;
    QSignalSpy names(&form, &CollectionCreator::nameChanged);
    form.setName(QStringLiteral("Given"));
    QCOMPARE(form.nameField()->text(), QStringLiteral("Given"));
    QCOMPARE(names.count(), 0);   // the owner's own value is not echoed back
    form.nameField()->clear();
    QTest::keyClicks(form.nameField(), QStringLiteral("Ab"));
    QCOMPARE(form.name(), QStringLiteral("Ab"));
    QCOMPARE(names.count(), 3);   // cleared, "A", "Ab"
    QCOMPARE(names.last().first().toString(), QStringLiteral("Ab"));
}

void TestCollectionCreator::everySwatchClickWrites()
{
    CollectionCreator form;
    form.setSwatch(Swatch::green);
    QSignalSpy swatches(&form, &CollectionCreator::swatchChanged);
    QTest::mouseClick(form.swatchButton(Swatch::green), Qt::LeftButton);
    QTest::mouseClick(form.swatchButton(Swatch::violet), Qt::LeftButton);
    QTest::mouseClick(form.swatchButton(Swatch::violet), Qt::LeftButton);
    QCOMPARE(swatches.count(), 3);
    QCOMPARE(swatches.at(0).first().value<Swatch>(), Swatch::green);
    QCOMPARE(swatches.at(1).first().value<Swatch>(), Swatch::violet);
    QCOMPARE(form.swatch(), Swatch::violet);
}

void TestCollectionCreator::exactlyOneSwatchIsChosen()
{
    CollectionCreator form;
    for (Swatch chosen : allSwatches) {
        form.setSwatch(chosen);
        QStringList selected;
        for (Swatch swatch : allSwatches) {
            if (test::accessibleOf(form.swatchButton(swatch))->state().selected)
                selected.append(test::accessibleName(form.swatchButton(swatch)));
        }
        QCOMPARE(selected, QStringList{CollectionCreator::swatchLabel(chosen)});
    }
    QCOMPARE(CollectionCreator::swatchLabel(Swatch::amber), QStringLiteral("Amber"));
}

void TestCollectionCreator::nameFieldTakesTheFocusEachTimeItShows()
{
    QWidget window;
    auto *other = new QLineEdit(&window);
    auto *form = new CollectionCreator(&window);
    form->move(0, 40);
    form->resize(240, form->heightForWidth(240));
    window.resize(260, 240);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(form->nameField()->hasFocus());
    QVERIFY(form->isNameFocused());
    other->setFocus();
    QVERIFY(!form->isNameFocused());
    form->hide();
    form->show();
    QVERIFY(form->nameField()->hasFocus());
}

void TestCollectionCreator::equalValuesRepaintNothing()
{
    CollectionCreator form;
    form.setConfirmTitle(QStringLiteral("Create"));
    form.setName(QStringLiteral("Trips"));
    QVERIFY(test::showWidget(form));
    test::PaintCounter paints(&form);
    paints.start();
    QSignalSpy names(&form, &CollectionCreator::nameChanged);
    form.setConfirmTitle(QStringLiteral("Create"));
    form.setName(QStringLiteral("Trips"));
    form.setSwatch(form.swatch());
    form.setProblem(std::nullopt);
    form.setCanCreate(form.canCreate());
    form.setFilesSave(form.filesSave());
    QCOMPARE(paints.settle(), 0);
    QCOMPARE(names.count(), 0);
    form.setProblem(QStringLiteral("Taken"));
    QVERIFY(paints.settle() > 0);
}

QTEST_MAIN(TestCollectionCreator)
#include "tst_collectioncreator.moc"
