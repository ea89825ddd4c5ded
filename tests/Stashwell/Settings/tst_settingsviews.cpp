// The settings page drawn: what the views hand to their pages when the user presses, types and
// chooses, what they show of the pages' state, and pictures of both tabs in every look (built a
// second time with the Korean interface, STASHWELL_KOREAN).

#include "Stashwell/Pages/Settings/GeneralSettingsView.h"
#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"
#include "Stashwell/Pages/Settings/NetworkSettingsView.h"
#include "Stashwell/Pages/Settings/SettingsPage.h"
#include "Stashwell/Pages/Settings/SettingsPageView.h"

#include "Capture/CaptureStrings.h"
#include "CuratorRig.h"
#include "Gallery.h"
#include "StashKit/Network.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Controls/ConnectionStatus.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassPicker.h"
#include "StashwellUI/Controls/GlassSegments.h"
#include "StashwellUI/Controls/InsetField.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::test;
using Mode = NetworkSettingsPage::Mode;

#ifdef STASHWELL_KOREAN
const QString kLanguage = QStringLiteral("ko"), kSuffix = QStringLiteral("-ko");
#else
const QString kLanguage = QStringLiteral("en"), kSuffix;
#endif

class SettingsViewsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<CuratorRig> m_rig;
    std::unique_ptr<Network> m_network;
    QString m_inUse;
    int m_relaunches = 0;

    std::unique_ptr<SettingsPage> makePage()
    {
        GeneralSettingsPage::Environment env;
        env.systemLanguages = [] { return QStringList{QStringLiteral("en-GB")}; };
        env.languageInUse = [this] { return m_inUse; };
        env.relaunch = [this] { ++m_relaunches; };
        env.openFolder = [](const QUrl &) {};
        env.homePath = [this] { return m_rig->dir.path(); };
        return std::make_unique<SettingsPage>(*m_rig->curator, *m_network, *m_preferences,
                                              SettingsPage::Options{std::nullopt, env});
    }

    static void press(QAbstractButton &button) { QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center()); }

private slots:
    void initTestCase()
    {
        StashwellStrings::table().loadLanguage(kLanguage);
        StashwellUIStrings::table().loadLanguage(kLanguage);
        CaptureStrings::table().loadLanguage(kLanguage);
        loadFonts(QLocale(kLanguage));
        Tokens::Motion::setEnabled(false);
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_preferences = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("preferences.json")));
        m_rig = std::make_unique<CuratorRig>();
        m_network = std::make_unique<Network>(NetworkRoute::system());
        m_relaunches = 0;
        m_inUse = QStringLiteral("en");
    }

#ifndef STASHWELL_KOREAN
    void languagePickerAndRelaunch()
    {
        auto page = makePage();
        GeneralSettingsView view(*page->general());
        view.show();
        const QStringList titles{StashwellStrings::settingsLanguageSystem(), "English", "日本語", "한국어", "简体中文"};
        QStringList shown;
        for (const GlassPicker::Option &option : view.languagePicker().options())
            shown.append(option.title);
        QCOMPARE(shown, titles);
        QVERIFY(!view.relaunchButton().isVisibleTo(&view));

        emit view.languagePicker().chosen(int(AppLanguage::korean));
        QVERIFY(view.relaunchButton().isVisibleTo(&view));
        press(view.relaunchButton());
        QCOMPARE(m_relaunches, 1);

        emit view.languagePicker().chosen(int(AppLanguage::english));
        QVERIFY(!view.relaunchButton().isVisibleTo(&view));
    }

    void networkFormFollowsTyping()
    {
        m_preferences->setValue(Preferences::settingsTab, QStringLiteral("network"));
        auto page = makePage();
        NetworkSettingsView view(*page->network());
        view.show();
        QVERIFY(!view.showsProxy() && view.applyButton().isEnabled());

        press(*view.modeSegments().segments().at(2));
        QApplication::processEvents();
        QVERIFY(view.showsProxy() && view.hostField().isVisibleTo(&view));
        QVERIFY(!view.applyButton().isEnabled() && !view.problemLine().isVisibleTo(&view));
        QTest::keyClicks(&view.portField(), QStringLiteral("+8080"));
        QVERIFY(view.applyButton().isEnabled());

        // A host the stored form cannot carry: Apply goes off and the line says why.
        view.hostField().selectAll();
        QTest::keyClicks(&view.hostField(), QStringLiteral("my proxy"));
        QVERIFY(!view.applyButton().isEnabled() && view.problemLine().isVisibleTo(&view));
        QCOMPARE(view.problemLine().text(), StashwellStrings::networkHostNotStorable());
        // Return in the field applies nothing.
        QTest::keyClick(&view.hostField(), Qt::Key_Return);
        QVERIFY(m_network->route().isSystem());

        view.hostField().selectAll();
        QTest::keyClicks(&view.hostField(), QStringLiteral("proxy.lan"));
        QVERIFY(!view.problemLine().isVisibleTo(&view));
        QTest::keyClick(&view.hostField(), Qt::Key_Return);
        QCOMPARE(m_network->route(), *NetworkRoute::proxy(NetworkRoute::Kind::http, QStringLiteral("proxy.lan"), 8080));
    }

    void pasteFieldUsesItsLines()
    {
        m_preferences->setValue(Preferences::settingsTab, QStringLiteral("network"));
        m_network->setRoute(NetworkRoute::direct());
        auto page = makePage();
        NetworkSettingsView view(*page->network());
        view.show();
        QTest::keyClicks(&view.pasteField(), QStringLiteral("export PATH=/bin"));
        QVERIFY(!view.useButton().isEnabled());
        // Return in the paste field uses its lines; it never applies the form.
        QTest::keyClick(&view.pasteField(), Qt::Key_Return);
        QVERIFY(!m_preferences->contains(Preferences::networkRoute));
        view.pasteField().clear();
        QTest::keyClicks(&view.pasteField(), QStringLiteral("export ALL_PROXY=socks5://127.0.0.1:1"));
        QVERIFY(view.useButton().isEnabled());
        QTest::keyClick(&view.pasteField(), Qt::Key_Return);
        QCOMPARE(view.portField().text(), QStringLiteral("1"));
        QCOMPARE(m_preferences->value(Preferences::networkRoute), QVariant(QStringLiteral("socks://127.0.0.1:1")));
        QCOMPARE(view.status().state(), ConnectionState::checking());
        QVERIFY(QTest::qWaitFor([&] { return !view.status().state().isChecking(); }, 30000));
    }
#endif

    void gallery()
    {
        m_rig->curator->limitLocalMedia(std::int64_t(20) << 30);
        m_preferences->setValue(Preferences::mediaLimitGB, 20);
        m_inUse = QStringLiteral("ja");   // so the Relaunch button shows
        auto page = makePage();
        SettingsPageView view(*page);
        // The general tab; the network tab with a host it cannot store; the network tab on system.
        for (const char *shot : {"general", "network", "network-system"}) {
            if (shot == std::string_view("network")) {
                page->setTab(SettingsPage::Tab::network);
                page->network()->setMode(Mode::http);
                page->network()->setHost(QStringLiteral("my proxy"));
                page->network()->setPort(QStringLiteral("8080"));
                page->network()->setShell(QStringLiteral("export https_proxy=http://127.0.0.1:1087"));
            } else if (shot == std::string_view("network-system")) {
                page->network()->setMode(Mode::system);
            }
            QApplication::processEvents();
            view.adjustSize();
            QString why;
            QVERIFY2(gallery::captureAndCheck(view, QStringLiteral("app-settings-") + QLatin1String(shot) + kSuffix, &why),
                     qPrintable(why));
        }
    }
};

QTEST_MAIN(SettingsViewsTest)
#include "tst_settingsviews.moc"
