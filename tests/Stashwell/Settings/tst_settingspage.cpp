// The settings page without widgets: the tab read from "settingsTab", and switching tabs, which
// stores the tab and makes the shown page anew (so the network form starts afresh).

#include "Stashwell/Pages/Settings/SettingsPage.h"

#include "CuratorRig.h"
#include "StashKit/Network.h"
#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::test;
using Tab = SettingsPage::Tab;

Q_DECLARE_METATYPE(sw::app::SettingsPage::Tab)

class SettingsPageTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    CuratorRig m_rig;
    Network m_network{NetworkRoute::direct()};

private slots:
    void tabParsing_data()
    {
        QTest::addColumn<QVariant>("stored");   // invalid: missing
        QTest::addColumn<Tab>("tab");
        QTest::newRow("missing") << QVariant() << Tab::general;
        QTest::newRow("general") << QVariant(QStringLiteral("general")) << Tab::general;
        QTest::newRow("network") << QVariant(QStringLiteral("network")) << Tab::network;
        QTest::newRow("Network, capitalised") << QVariant(QStringLiteral("Network")) << Tab::general;
        QTest::newRow("network with a space") << QVariant(QStringLiteral("network ")) << Tab::general;
        QTest::newRow("another word") << QVariant(QStringLiteral("advanced")) << Tab::general;
        QTest::newRow("a list holding network") << QVariant(QStringList{"network"}) << Tab::general;
    }

    void tabParsing()
    {
        QFETCH(QVariant, stored);
        QFETCH(Tab, tab);
        QCOMPARE(SettingsPage::tabFrom(stored), tab);
        Preferences preferences(m_dir.filePath(QStringLiteral("parsing.json")));
        preferences.setValue(Preferences::settingsTab, stored);
        SettingsPage page(*m_rig.curator, m_network, preferences);
        QCOMPARE(page.tab(), tab);
        QCOMPARE(page.general() != nullptr, tab == Tab::general);
        QCOMPARE(page.network() != nullptr, tab == Tab::network);
    }

    void switchingMakesPagesAnew()
    {
        Preferences preferences(m_dir.filePath(QStringLiteral("switching.json")));
        SettingsPage page(*m_rig.curator, m_network, preferences);
        page.setTab(Tab::network);
        QCOMPARE(preferences.value(Preferences::settingsTab), QVariant(QStringLiteral("network")));
        QVERIFY(!page.general());
        page.network()->setMode(NetworkSettingsPage::Mode::http);
        page.network()->setShell(QStringLiteral("export ALL_PROXY=socks5://127.0.0.1:1080"));

        page.setTab(Tab::general);
        QVERIFY(!page.network());
        page.general()->setLanguage(AppLanguage::korean);
        page.setTab(Tab::network);
        QCOMPARE(page.network()->mode(), NetworkSettingsPage::Mode::direct);
        QCOMPARE(page.network()->shell(), QString());
        QCOMPARE(m_network.route(), NetworkRoute::direct());   // the form was never applied

        // A tab stored elsewhere is followed; the language is read again on the visit.
        preferences.setValue(Preferences::languages, QStringList{QStringLiteral("ja")});
        preferences.remove(Preferences::settingsTab);
        QCOMPARE(page.tab(), Tab::general);
        QCOMPARE(page.general()->language(), AppLanguage(AppLanguage::japanese));
    }
};

QTEST_GUILESS_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
