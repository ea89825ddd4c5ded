// The settings page without widgets: the tab read from "settingsTab", switching tabs (which
// stores the tab and makes the shown page anew), and a tab changed in the preferences elsewhere.

#include "Stashwell/Pages/Settings/SettingsPage.h"

#include "CuratorHome.h"
#include "CuratorRig.h"
#include "StashKit/Network.h"
#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::test;
using Tab = SettingsPage::Tab;

Q_DECLARE_METATYPE(sw::app::SettingsPage::Tab)

class SettingsPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<CuratorRig> m_rig;
    std::unique_ptr<Network> m_network;

    std::unique_ptr<SettingsPage> makePage()
    {
        GeneralSettingsPage::Environment env;
        env.systemLanguages = [] { return QStringList{QStringLiteral("en-GB")}; };
        env.languageInUse = [] { return QStringLiteral("en"); };
        return std::make_unique<SettingsPage>(*m_rig->curator, *m_network, *m_preferences,
                                              SettingsPage::Options{std::nullopt, env});
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_preferences = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("preferences.json")));
        m_rig = std::make_unique<CuratorRig>();
        m_network = std::make_unique<Network>(NetworkRoute::system());
    }

    void cleanup()
    {
        m_network.reset();
        m_rig.reset();
        m_preferences.reset();
        m_dir.reset();
    }

    void tabParsing_data()
    {
        QTest::addColumn<QVariant>("stored");   // invalid: missing
        QTest::addColumn<Tab>("tab");
        QTest::newRow("missing") << QVariant() << Tab::general;
        QTest::newRow("general") << QVariant(QStringLiteral("general")) << Tab::general;
        QTest::newRow("network") << QVariant(QStringLiteral("network")) << Tab::network;
        QTest::newRow("Network, capitalised") << QVariant(QStringLiteral("Network")) << Tab::general;
        QTest::newRow("network with a space") << QVariant(QStringLiteral("network ")) << Tab::general;
        QTest::newRow("empty") << QVariant(QString()) << Tab::general;
        QTest::newRow("another word") << QVariant(QStringLiteral("advanced")) << Tab::general;
        QTest::newRow("a number") << QVariant(1) << Tab::general;
        QTest::newRow("a list holding network") << QVariant(QStringList{"network"}) << Tab::general;
    }

    void tabParsing()
    {
        QFETCH(QVariant, stored);
        QFETCH(Tab, tab);
        if (stored.isValid())
            m_preferences->setValue(Preferences::settingsTab, stored);
        CuratorSpies spies(*m_rig->curator);
        auto page = makePage();
        QCOMPARE(page->tab(), tab);
        // Only the shown tab's page exists.
        QCOMPARE(page->general() != nullptr, tab == Tab::general);
        QCOMPARE(page->network() != nullptr, tab == Tab::network);
        // Opening the settings calls nothing on the Curator.
        QCOMPARE(spies.counts(), (QMap<QString, int>{}));
    }

    // Switching stores the tab; coming back makes the page anew, so the form starts afresh.
    void switchingDiscardsTheOtherPage()
    {
        m_network->setRoute(NetworkRoute::direct());
        auto page = makePage();
        QSignalSpy tabs(page.get(), &SettingsPage::tabChanged);

        page->setTab(Tab::network);
        QCOMPARE(tabs.count(), 1);
        QCOMPARE(m_preferences->value(Preferences::settingsTab), QVariant(QStringLiteral("network")));
        QVERIFY(!page->general());
        QVERIFY(page->network());
        QCOMPARE(page->network()->mode(), NetworkSettingsPage::Mode::direct);
        page->network()->setMode(NetworkSettingsPage::Mode::http);
        page->network()->setHost(QStringLiteral("proxy.lan"));
        page->network()->setShell(QStringLiteral("export ALL_PROXY=socks5://127.0.0.1:1080"));

        page->setTab(Tab::general);
        QCOMPARE(tabs.count(), 2);
        QVERIFY(page->general());
        QVERIFY(!page->network());
        page->setTab(Tab::general);
        QCOMPARE(tabs.count(), 2);

        page->setTab(Tab::network);
        QCOMPARE(page->network()->mode(), NetworkSettingsPage::Mode::direct);
        QCOMPARE(page->network()->host(), QStringLiteral("127.0.0.1"));
        QCOMPARE(page->network()->port(), QString());
        QCOMPARE(page->network()->shell(), QString());
        // The form was never applied.
        QCOMPARE(m_network->route(), NetworkRoute::direct());
    }

    // The language is read again on each visit to the general tab.
    void languageReadOnEachVisit()
    {
        auto page = makePage();
        page->general()->setLanguage(AppLanguage::japanese);
        page->setTab(Tab::network);
        m_preferences->setValue(Preferences::languages, QStringList{QStringLiteral("ko")});
        page->setTab(Tab::general);
        QCOMPARE(page->general()->language(), AppLanguage(AppLanguage::korean));
    }

    void followsTabChangedElsewhere()
    {
        auto page = makePage();
        m_preferences->setValue(Preferences::settingsTab, QStringLiteral("network"));
        QCOMPARE(page->tab(), Tab::network);
        QVERIFY(page->network());
        m_preferences->remove(Preferences::settingsTab);
        QCOMPARE(page->tab(), Tab::general);
        QVERIFY(page->general());
    }
};

QTEST_GUILESS_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
