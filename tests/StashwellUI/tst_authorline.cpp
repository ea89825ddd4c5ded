#include "StashwellUI/Saves/AuthorLine.h"
#include "StashwellUI/Saves/AuthorLineView.h"
#include "ControlTesting.h"
#include "Gallery.h"
#include "PresentationFixtures.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QTest>

#include <cmath>
#include <limits>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::AuthorLine)

namespace {

Author author(const QString &name, const QString &handle, std::optional<QString> avatar = std::nullopt)
{
    Author a{name, Handle{handle}, std::nullopt};
    if (avatar)
        a.avatar = url(*avatar);
    return a;
}

}  // namespace

class TestAuthorLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void handleText_data();
    void handleText();
    void detailText_data();
    void detailText();
    void defaultsAndAvatarKey();
    void layoutCentresBesideTheAvatar();
    void linesAreCutIndependently_data();
    void linesAreCutIndependently();
    void viewTakesItsSizeAndName();
    void gallery_data();
    void gallery();
};

void TestAuthorLine::handleText_data()
{
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Someone" << "@Someone";
    QTest::newRow("case kept") << "MiXeD" << "@MiXeD";
    QTest::newRow("empty") << "" << "@";
    QTest::newRow("full stop inside") << "news.example" << "news.example";
    QTest::newRow("full stop first") << ".dot" << ".dot";
    QTest::newRow("full stop last") << "dot." << "dot.";
    QTest::newRow("other punctuation gets the @") << "a_b-c" << "@a_b-c";
}

void TestAuthorLine::handleText()
{
    QFETCH(QString, handle);
    QFETCH(QString, shown);
    QCOMPARE(AuthorLine::handleText(Handle{handle}), shown);
    QCOMPARE(AuthorLine(author(QStringLiteral("N"), handle)).handleText(), shown);
}

void TestAuthorLine::detailText_data()
{
    QTest::addColumn<bool>("hasDetail");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << false << "" << "";
    QTest::newRow("a date") << true << "Mar 4, 2024" << "\u00B7 Mar 4, 2024";
    QTest::newRow("empty still shows the dot") << true << "" << "\u00B7 ";
}

void TestAuthorLine::detailText()
{
    QFETCH(bool, hasDetail);
    QFETCH(QString, detail);
    QFETCH(QString, shown);
    const AuthorLine line(author(QStringLiteral("N"), QStringLiteral("h")),
                          hasDetail ? std::optional<QString>(detail) : std::nullopt);
    QCOMPARE(line.detailText().has_value(), hasDetail);
    QCOMPARE(line.detailText().value_or(QString()), shown);
    const AuthorLine::Layout layout = line.layout(QRectF(0, 0, 400, 40));
    QCOMPARE(layout.detail.isEmpty(), !hasDetail || layout.shownDetail.isEmpty());
    if (hasDetail) {
        QCOMPARE(layout.shownDetail, shown);
        QCOMPARE(layout.detail.left(), layout.handle.right() + AuthorLine::detailSpacing);
    }
}

void TestAuthorLine::defaultsAndAvatarKey()
{
    const AuthorLine line(author(QStringLiteral("Ada"), QStringLiteral("ada"), QStringLiteral("https://pbs.example.com/ada.jpg")));
    QCOMPARE(line.size(), 34.0);
    QVERIFY(!line.detail());
    QVERIFY(line.avatarKey());
    QCOMPARE(line.avatarKey()->maxPixels, 102);
    QCOMPARE(AuthorLine(line.author(), std::nullopt, 48).avatarKey()->maxPixels, 144);
    QVERIFY(!AuthorLine(author(QStringLiteral("Ada"), QStringLiteral("ada"))).avatarKey());
    // A size that is not a number draws no avatar and asks for no picture.
    QVERIFY(!AuthorLine(line.author(), std::nullopt, std::numeric_limits<double>::quiet_NaN()).avatarKey());
}

void TestAuthorLine::layoutCentresBesideTheAvatar()
{
    const AuthorLine line(author(QStringLiteral("Ada Lovelace"), QStringLiteral("ada")));
    const QRectF rect(10, 20, 300, 50);
    const AuthorLine::Layout layout = line.layout(rect);
    QCOMPARE(layout.avatar, QRectF(10, 28, 34, 34));
    QCOMPARE(layout.name.left(), 10 + 34 + 10.0);
    QCOMPARE(layout.handle.left(), layout.name.left());
    QCOMPARE(layout.handle.top(), layout.name.bottom() + 1);
    QCOMPARE((layout.name.top() + layout.handle.bottom()) / 2, rect.center().y());
    QCOMPARE(layout.shownName, QStringLiteral("Ada Lovelace"));
    QCOMPARE(layout.shownHandle, QStringLiteral("@ada"));
    QVERIFY(line.hitTest(rect, layout.name.center()));
    QVERIFY(line.hitTest(rect, layout.avatar.center()));
    QVERIFY(!line.hitTest(rect, QPointF(305, 22)));
    const QSizeF natural = line.sizeHint();
    QCOMPARE(natural.width(), std::ceil(44 + std::max(layout.name.width(), layout.handle.width())));
    QVERIFY(natural.height() >= 34);
}

void TestAuthorLine::linesAreCutIndependently_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("handle");
    QTest::addColumn<bool>("nameCut");
    QTest::addColumn<bool>("handleCut");
    const QString longText = QStringLiteral("A name far too long to fit in the narrow width given here");
    QTest::newRow("long name") << longText << "short" << true << false;
    QTest::newRow("long handle") << "Ada" << longText << false << true;
    QTest::newRow("both") << longText << longText << true << true;
    QTest::newRow("neither") << "Ada" << "ada" << false << false;
}

void TestAuthorLine::linesAreCutIndependently()
{
    QFETCH(QString, name);
    QFETCH(QString, handle);
    QFETCH(bool, nameCut);
    QFETCH(bool, handleCut);
    const AuthorLine line(author(name, handle), QStringLiteral("detail"));
    const QRectF rect(0, 0, 200, 40);
    const AuthorLine::Layout layout = line.layout(rect);
    QCOMPARE(layout.shownName != name, nameCut);
    QCOMPARE(layout.shownHandle != AuthorLine::handleText(Handle{handle}), handleCut);
    if (nameCut)
        QVERIFY(layout.shownName.endsWith(QChar(0x2026)));
    // Every piece stays within the width: one line each, never wrapped.
    QVERIFY(layout.name.right() <= rect.right());
    QVERIFY(layout.handle.right() <= rect.right());
    QVERIFY(layout.detail.right() <= rect.right() || layout.shownDetail.isEmpty());
    QCOMPARE(layout.name.height(), std::ceil(QFontMetricsF(Tokens::Typography::headline.font()).height()));
    // Each piece is as wide as what it shows, cut or not: the detail starts after the handle shown.
    QCOMPARE(layout.name.width(), std::ceil(QFontMetricsF(Tokens::Typography::headline.font()).horizontalAdvance(layout.shownName)));
    QCOMPARE(layout.handle.width(), std::ceil(QFontMetricsF(Tokens::Typography::caption.font()).horizontalAdvance(layout.shownHandle)));
}

void TestAuthorLine::viewTakesItsSizeAndName()
{
    AuthorLineView view(AuthorLine(author(QStringLiteral("Ada"), QStringLiteral("ada")), QStringLiteral("2 h")));
    QCOMPARE(view.sizeHint().height(), int(std::ceil(view.line().sizeHint().height())));
    QCOMPARE(test::accessibleName(&view), QStringLiteral("Ada"));
    view.setLine(AuthorLine(author(QStringLiteral("Grace"), QStringLiteral("grace")), std::nullopt, 60));
    QCOMPARE(view.sizeHint().height(), 60);
    QCOMPARE(test::accessibleName(&view), QStringLiteral("Grace"));
}

void TestAuthorLine::gallery_data()
{
    QTest::addColumn<AuthorLine>("line");
    QTest::addColumn<int>("width");
    QTest::newRow("plain") << AuthorLine(author(QStringLiteral("Ada Lovelace"), QStringLiteral("ada"))) << 260;
    QTest::newRow("detail") << AuthorLine(author(QStringLiteral("Ada Lovelace"), QStringLiteral("ada")),
                                          QStringLiteral("Mar 4, 2024"))
                            << 260;
    QTest::newRow("web-handle") << AuthorLine(author(QStringLiteral("The Daily Example"), QStringLiteral("news.example.com")))
                                << 260;
    QTest::newRow("cut") << AuthorLine(author(QStringLiteral("A very long display name that runs out of room"),
                                              QStringLiteral("averylonghandlethatrunsoutofroom")),
                                       QStringLiteral("3 days"))
                         << 180;
    QTest::newRow("large") << AuthorLine(author(QStringLiteral("保存 저장"), QStringLiteral("cjk")), std::nullopt, 48) << 260;
}

void TestAuthorLine::gallery()
{
    QFETCH(AuthorLine, line);
    QFETCH(int, width);
    AuthorLineView view(line);
    view.resize(width, view.sizeHint().height() + 8);
    QString why;
    QVERIFY2(gallery::captureAndCheck(view, QStringLiteral("AuthorLine-%1").arg(QString::fromLatin1(QTest::currentDataTag())), &why),
             qPrintable(why));
}

QTEST_MAIN(TestAuthorLine)
#include "tst_authorline.moc"
