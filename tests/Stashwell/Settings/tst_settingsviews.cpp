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
#include "StashwellUI/Settings/SettingsSwitch.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::test;
using Mode = NetworkSettingsPage::Mode;

namespace {

#ifdef STASHWELL_KOREAN
const QString kLanguage = QStringLiteral("ko");
const QString kSuffix = QStringLiteral("-ko");
#else
const QString kLanguage = QStringLiteral("en");
const QString kSuffix;
#endif

}  // namespace

class SettingsViewsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<CuratorRig> m_rig;
    std::unique_ptr<Network> m_network;
    QString m_inUse = QStringLiteral("en");
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
        QStandardPaths::setTestModeEnabled(true);
        StashwellStrings::table().loadLanguage(kLanguage);
        StashwellUIStrings::table().loadLanguage(kLanguage);
        CaptureStrings::table().loadLanguage(kLanguage);
        loadFonts(QLocale(kLanguage));
        Tokens::Motion::setEnabled(false);
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_preferences = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("preferences.json")));
        m_rig = std::make_unique<CuratorRig>();
        m_network = std::make_unique<Network>(NetworkRoute::system());
        m_relaunches = 0;
        m_inUse = QStringLiteral("en");
    }

    void cleanup()
    {
        m_network.reset();
        m_rig.reset();
        m_preferences.reset();
        m_dir.reset();
    }

#ifndef STASHWELL_KOREAN
    // ---- the header ------------------------------------------------------------------------------------

    void tabSegmentsSwitchTheView()
    {
        auto page = makePage();
        SettingsPageView view(*page);
        view.show();
        QVERIFY(qobject_cast<GeneralSettingsView *>(view.tabView()));
        press(*view.tabSegments().segments().at(1));
        QCOMPARE(m_preferences->value(Preferences::settingsTab), QVariant(QStringLiteral("network")));
        QVERIFY(qobject_cast<NetworkSettingsView *>(view.tabView()));
        QCOMPARE(view.tabSegments().selectedIndex(), 1);
        press(*view.tabSegments().segments().at(0));
        QVERIFY(qobject_cast<GeneralSettingsView *>(view.tabView()));
    }

    // ---- general ----------------------------------------------------------------------------------------

    void generalControlsWritePreferences()
    {
        auto page = makePage();
        GeneralSettingsView view(*page->general());
        view.show();
        QCOMPARE(view.themeSegments().selectedIndex(), 0);
        QCOMPARE(view.surfaceSegments().selectedIndex(), 0);
        QVERIFY(view.downloadsSwitch().isChecked());
        QCOMPARE(view.limitPicker().currentTitle(), QStringLiteral("5 GB"));
        QCOMPARE(view.qualityPicker().currentTitle(), Quality(Quality::original).title());

        press(*view.themeSegments().segments().at(2));
        QCOMPARE(m_preferences->value(Preferences::theme), QVariant(QStringLiteral("dark")));
        press(*view.surfaceSegments().segments().at(1));
        QCOMPARE(m_preferences->value(Preferences::surface), QVariant(QStringLiteral("glass")));
        press(view.downloadsSwitch());
        QCOMPARE(m_preferences->value(Preferences::downloadsOnSave), QVariant(false));
        QVERIFY(!m_rig->curator->downloadsOnSave());
        emit view.limitPicker().chosen(qint64(20));
        QCOMPARE(m_rig->curator->localMedia().budget().limit, std::int64_t(21474836480));
        QCOMPARE(view.limitPicker().currentTitle(), QStringLiteral("20 GB"));

        // A value written elsewhere shows at once.
        m_preferences->setValue(Preferences::theme, QStringLiteral("light"));
        QCOMPARE(view.themeSegments().selectedIndex(), 1);
        m_preferences->setValue(Preferences::downloadsOnSave, true);
        QVERIFY(view.downloadsSwitch().isChecked());
    }

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
        QCOMPARE(m_preferences->value(Preferences::languages).toStringList(), QStringList{"ko"});
        press(view.relaunchButton());
        QCOMPARE(m_relaunches, 1);

        emit view.languagePicker().chosen(int(AppLanguage::english));
        QVERIFY(!view.relaunchButton().isVisibleTo(&view));
    }

    // ---- network ----------------------------------------------------------------------------------------

    void networkFormFollowsTyping()
    {
        m_preferences->setValue(Preferences::settingsTab, QStringLiteral("network"));
        auto page = makePage();
        NetworkSettingsPage &form = *page->network();
        NetworkSettingsView view(form);
        view.show();
        QVERIFY(!view.showsProxy());
        QVERIFY(view.applyButton().isEnabled());

        press(*view.modeSegments().segments().at(1));
        QCOMPARE(form.mode(), Mode::direct);
        QCOMPARE(view.connectionSection().footnote(), std::optional<QString>(StashwellStrings::networkDirectNote()));
        QVERIFY(!view.showsProxy());

        press(*view.modeSegments().segments().at(2));
        QApplication::processEvents();
        QVERIFY(view.showsProxy());
        QVERIFY(view.hostField().isVisibleTo(&view));
        QCOMPARE(view.hostField().text(), QStringLiteral("127.0.0.1"));
        QVERIFY(!view.applyButton().isEnabled());
        QVERIFY(!view.problemLine().isVisibleTo(&view));

        QTest::keyClicks(&view.portField(), QStringLiteral("+8080"));
        QCOMPARE(form.port(), QStringLiteral("+8080"));
        QVERIFY(view.applyButton().isEnabled());

        // A host the stored form cannot carry: Apply goes off and the line says why.
        view.hostField().selectAll();
        QTest::keyClicks(&view.hostField(), QStringLiteral("my proxy"));
        QCOMPARE(form.host(), QStringLiteral("my proxy"));
        QVERIFY(!view.applyButton().isEnabled());
        QVERIFY(view.problemLine().isVisibleTo(&view));
        QCOMPARE(view.problemLine().text(), StashwellStrings::networkHostNotStorable());
        // Return in the field applies nothing.
        QTest::keyClick(&view.hostField(), Qt::Key_Return);
        QVERIFY(m_network->route().isSystem());

        view.hostField().selectAll();
        QTest::keyClicks(&view.hostField(), QStringLiteral("proxy.lan"));
        QVERIFY(!view.problemLine().isVisibleTo(&view));
        QTest::keyClick(&view.hostField(), Qt::Key_Return);
        QCOMPARE(m_network->route(), *NetworkRoute::proxy(NetworkRoute::Kind::http, QStringLiteral("proxy.lan"), 8080));
        QCOMPARE(m_preferences->value(Preferences::networkRoute), QVariant(QStringLiteral("http://proxy.lan:8080")));

        // Leaving a proxy mode keeps the fields for the way back.
        press(*view.modeSegments().segments().at(0));
        QApplication::processEvents();
        QVERIFY(!view.showsProxy());
        press(*view.modeSegments().segments().at(3));
        QApplication::processEvents();
        QCOMPARE(view.hostField().text(), QStringLiteral("proxy.lan"));
        QCOMPARE(view.portField().text(), QStringLiteral("+8080"));
    }

    void pasteFieldUsesItsLines()
    {
        m_preferences->setValue(Preferences::settingsTab, QStringLiteral("network"));
        m_network->setRoute(NetworkRoute::direct());
        auto page = makePage();
        NetworkSettingsPage &form = *page->network();
        NetworkSettingsView view(form);
        view.show();
        QVERIFY(!view.useButton().isEnabled());
        QTest::keyClicks(&view.pasteField(), QStringLiteral("export PATH=/bin"));
        QVERIFY(!view.useButton().isEnabled());
        // Return in the paste field neither uses nothing nor applies the form.
        QTest::keyClick(&view.pasteField(), Qt::Key_Return);
        QCOMPARE(form.status(), ConnectionState::unknown());
        QVERIFY(!m_preferences->contains(Preferences::networkRoute));

        view.pasteField().clear();
        QTest::keyClicks(&view.pasteField(), QStringLiteral("export ALL_PROXY=socks5://127.0.0.1:1"));
        QVERIFY(view.useButton().isEnabled());
        QTest::keyClick(&view.pasteField(), Qt::Key_Return);
        QCOMPARE(form.mode(), Mode::socks);
        QCOMPARE(view.portField().text(), QStringLiteral("1"));
        QCOMPARE(m_preferences->value(Preferences::networkRoute), QVariant(QStringLiteral("socks://127.0.0.1:1")));
        QCOMPARE(view.status().state(), ConnectionState::checking());
        QVERIFY(QTest::qWaitFor([&] { return !form.status().isChecking(); }, 30000));
        QCOMPARE(view.status().state(), form.status());
    }
#endif

    // ---- pictures ---------------------------------------------------------------------------------------

    void gallery()
    {
        m_rig->curator->limitLocalMedia(std::int64_t(20) << 30);
        m_preferences->setValue(Preferences::mediaLimitGB, 20);
        m_inUse = QStringLiteral("ja");   // so the Relaunch button shows
        auto page = makePage();
        SettingsPageView view(*page);
        QString why;
        view.adjustSize();
        QVERIFY2(gallery::captureAndCheck(view, QStringLiteral("app-settings-general") + kSuffix, &why), qPrintable(why));

        page->setTab(SettingsPage::Tab::network);
        NetworkSettingsPage &form = *page->network();
        form.setMode(Mode::http);
        form.setHost(QStringLiteral("my proxy"));
        form.setPort(QStringLiteral("8080"));
        form.setShell(QStringLiteral("export https_proxy=http://127.0.0.1:1087"));
        QApplication::processEvents();
        view.adjustSize();
        QVERIFY2(gallery::captureAndCheck(view, QStringLiteral("app-settings-network") + kSuffix, &why), qPrintable(why));

        form.setMode(Mode::system);
        QApplication::processEvents();
        view.adjustSize();
        QVERIFY2(gallery::captureAndCheck(view, QStringLiteral("app-settings-network-system") + kSuffix, &why),
                 qPrintable(why));
    }
};

QTEST_MAIN(SettingsViewsTest)
#include "tst_settingsviews.moc"
