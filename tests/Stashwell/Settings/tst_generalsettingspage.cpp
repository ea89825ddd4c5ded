// The general settings without widgets: the values read from an empty or odd preference file,
// the observers that pass download settings to the Curator only on a change, the language choice
// with its relaunch button, and the media folder's text.

#include "Stashwell/Pages/Settings/GeneralSettingsPage.h"

#include "CuratorHome.h"
#include "CuratorRig.h"
#include "StashKit/Curator.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace sw;
using namespace sw::app;
using namespace sw::test;

namespace {

constexpr std::int64_t kGiB = std::int64_t(1) << 30;

// How often each field of the Curator signalled.
using Counts = QMap<QString, int>;

// What the page asked of the desktop.
struct Desktop {
    QStringList systemLanguages{QStringLiteral("en-GB")};
    QString inUse = QStringLiteral("en");
    int relaunches = 0;
    QList<QUrl> opened;
    QString home = QStringLiteral("/home/ann");

    GeneralSettingsPage::Environment environment()
    {
        GeneralSettingsPage::Environment env;
        env.systemLanguages = [this] { return systemLanguages; };
        env.languageInUse = [this] { return inUse; };
        env.relaunch = [this] { ++relaunches; };
        env.openFolder = [this](const QUrl &url) { opened.append(url); };
        env.homePath = [this] { return home; };
        return env;
    }
};

}  // namespace

class GeneralSettingsPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<CuratorRig> m_rig;
    Desktop m_desktop;

    Curator &curator() { return *m_rig->curator; }
    std::unique_ptr<GeneralSettingsPage> makePage()
    {
        return std::make_unique<GeneralSettingsPage>(curator(), *m_preferences, m_desktop.environment());
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_preferences = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("preferences.json")));
        m_rig = std::make_unique<CuratorRig>();
        m_desktop = Desktop{};
    }

    void cleanup()
    {
        m_rig.reset();
        m_preferences.reset();
        m_dir.reset();
    }

    // ---- reading the preferences ---------------------------------------------------------------------

    void defaultsOnEmptyFile()
    {
        auto page = makePage();
        QCOMPARE(page->downloadsOnSave(), true);
        QCOMPARE(page->quality(), Quality(Quality::original));
        QCOMPARE(page->limit(), std::int64_t(5));
        QCOMPARE(page->theme(), app::Theme::system);
        QCOMPARE(page->surface(), Surface::solid);
        QCOMPARE(page->language(), AppLanguage(AppLanguage::system));
        // Reading wrote nothing.
        QVERIFY(!QFile::exists(m_preferences->filePath()));
    }

    void oddValuesReadAsDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("downloads on save as text") << Preferences::downloadsOnSave << QVariant(QStringLiteral("false"));
        QTest::newRow("downloads on save as a number") << Preferences::downloadsOnSave << QVariant(0);
        QTest::newRow("quality capitalised") << Preferences::quality << QVariant(QStringLiteral("HD"));
        QTest::newRow("theme unknown") << Preferences::theme << QVariant(QStringLiteral("sepia"));
        QTest::newRow("surface capitalised") << Preferences::surface << QVariant(QStringLiteral("Glass"));
        QTest::newRow("limit as text") << Preferences::mediaLimitGB << QVariant(QStringLiteral("20"));
        QTest::newRow("limit with a fraction") << Preferences::mediaLimitGB << QVariant(2.5);
        QTest::newRow("limit too large for bytes") << Preferences::mediaLimitGB << QVariant(qint64(1) << 33);
    }

    void oddValuesReadAsDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        m_preferences->setValue(key, value);
        auto page = makePage();
        QCOMPARE(page->downloadsOnSave(), true);
        QCOMPARE(page->quality(), Quality(Quality::original));
        QCOMPARE(page->limit(), std::int64_t(5));
        QCOMPARE(page->theme(), app::Theme::system);
        QCOMPARE(page->surface(), Surface::solid);
    }

    // ---- observers ---------------------------------------------------------------------------------------

    void openingCallsNothing()
    {
        m_preferences->setValue(Preferences::downloadsOnSave, false);
        m_preferences->setValue(Preferences::mediaLimitGB, 20);
        m_preferences->setValue(Preferences::quality, QStringLiteral("small"));
        CuratorSpies spies(curator());
        const int writes = m_rig->archive->writes;
        auto page = makePage();
        QCOMPARE(spies.counts(), (QMap<QString, int>{}));
        QCOMPARE(m_rig->archive->writes, writes);
        QCOMPARE(curator().localMedia().budget().limit, CuratorRig::kBudget);
    }

    // A change made through the page or by anyone else reaches the Curator once; a value that
    // does not change reaches it never.
    void observers_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("before");   // invalid: missing
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<Counts>("expected");
        QTest::addColumn<std::int64_t>("budget");
        QTest::addColumn<bool>("downloadsOnSave");
        QTest::addColumn<int>("quality");
        const Counts none;
        const Counts media{{"localMedia", 1}};
        const auto b = CuratorRig::kBudget;
        QTest::newRow("limit 5 to 20") << Preferences::mediaLimitGB << QVariant(5) << QVariant(20) << media
                                       << std::int64_t(21474836480) << true << int(Quality::original);
        QTest::newRow("limit missing to 1") << Preferences::mediaLimitGB << QVariant() << QVariant(1) << media
                                            << kGiB << true << int(Quality::original);
        QTest::newRow("limit written as the 5 it read") << Preferences::mediaLimitGB << QVariant() << QVariant(5)
                                                        << none << b << true << int(Quality::original);
        QTest::newRow("limit 5 to 5.0") << Preferences::mediaLimitGB << QVariant(5) << QVariant(5.0) << none << b
                                        << true << int(Quality::original);
        QTest::newRow("limit to 2^33, which has no byte count")
            << Preferences::mediaLimitGB << QVariant(5) << QVariant(qint64(1) << 33) << none << b << true
            << int(Quality::original);
        QTest::newRow("limit to 2^33 - 1") << Preferences::mediaLimitGB << QVariant(5) << QVariant((qint64(1) << 33) - 1)
                                           << media << std::int64_t(((qint64(1) << 33) - 1) * kGiB) << true
                                           << int(Quality::original);
        QTest::newRow("downloads off") << Preferences::downloadsOnSave << QVariant() << QVariant(false)
                                       << Counts{{"downloadsOnSave", 1}} << b << false
                                       << int(Quality::original);
        QTest::newRow("downloads written as the true it read")
            << Preferences::downloadsOnSave << QVariant() << QVariant(true) << none << b << true << int(Quality::original);
        QTest::newRow("downloads as text: still on") << Preferences::downloadsOnSave << QVariant(true)
                                                     << QVariant(QStringLiteral("false")) << none << b << true
                                                     << int(Quality::original);
        QTest::newRow("quality to hd") << Preferences::quality << QVariant() << QVariant(QStringLiteral("hd"))
                                       << Counts{{"quality", 1}} << b << true << int(Quality::hd);
        QTest::newRow("quality to an unknown word") << Preferences::quality << QVariant(QStringLiteral("original"))
                                                    << QVariant(QStringLiteral("4k")) << none << b << true
                                                    << int(Quality::original);
        QTest::newRow("theme") << Preferences::theme << QVariant() << QVariant(QStringLiteral("dark")) << none << b
                               << true << int(Quality::original);
        QTest::newRow("surface") << Preferences::surface << QVariant() << QVariant(QStringLiteral("glass")) << none
                                 << b << true << int(Quality::original);
    }

    void observers()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, before);
        QFETCH(QVariant, after);
        QFETCH(Counts, expected);
        QFETCH(std::int64_t, budget);
        QFETCH(bool, downloadsOnSave);
        QFETCH(int, quality);
        if (before.isValid())
            m_preferences->setValue(key, before);
        auto page = makePage();
        CuratorSpies spies(curator());
        m_preferences->setValue(key, after);
        QCOMPARE(spies.counts(), expected);
        QCOMPARE(curator().localMedia().budget().limit, budget);
        QCOMPARE(curator().downloadsOnSave(), downloadsOnSave);
        QCOMPARE(int(Quality::Value(curator().quality())), quality);
    }

    // The controls write the preferences in the form the start reads.
    void controlsWritePreferences()
    {
        auto page = makePage();
        CuratorSpies spies(curator());
        page->setLimit(20);
        QCOMPARE(m_preferences->value(Preferences::mediaLimitGB).toLongLong(), qint64(20));
        QCOMPARE(page->limit(), std::int64_t(20));
        page->setDownloadsOnSave(false);
        QCOMPARE(m_preferences->value(Preferences::downloadsOnSave), QVariant(false));
        page->setQuality(Quality::small);
        QCOMPARE(m_preferences->value(Preferences::quality), QVariant(QStringLiteral("small")));
        page->setTheme(app::Theme::light);
        QCOMPARE(m_preferences->value(Preferences::theme), QVariant(QStringLiteral("light")));
        page->setSurface(Surface::glass);
        QCOMPARE(m_preferences->value(Preferences::surface), QVariant(QStringLiteral("glass")));
        QCOMPARE(spies.counts(),
                 (QMap<QString, int>{{"localMedia", 1}, {"downloadsOnSave", 1}, {"quality", 1}}));
        QCOMPARE(curator().localMedia().budget().limit, std::int64_t(21474836480));
        QCOMPARE(curator().quality(), Quality(Quality::small));
        QVERIFY(!curator().downloadsOnSave());
    }

    // ---- language --------------------------------------------------------------------------------------

    void language_data()
    {
        QTest::addColumn<QVariant>("stored");           // invalid: no choice stored
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("inUse");
        QTest::addColumn<int>("opensWith");
        QTest::addColumn<bool>("relaunchAtOpen");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QVariant>("storedAfter");
        QTest::addColumn<bool>("relaunchAfter");
        const QStringList english{"en-GB"};
        QTest::newRow("no choice: system, nothing to relaunch")
            << QVariant() << english << "en" << int(AppLanguage::system) << false << int(AppLanguage::system)
            << QVariant() << false;
        QTest::newRow("Japanese chosen while running in Japanese")
            << QVariant() << english << "ja" << int(AppLanguage::system) << true << int(AppLanguage::japanese)
            << QVariant(QStringList{"ja"}) << false;
        QTest::newRow("Korean chosen while running in English")
            << QVariant() << english << "en" << int(AppLanguage::system) << false << int(AppLanguage::korean)
            << QVariant(QStringList{"ko"}) << true;
        QTest::newRow("stored Japanese opens Japanese; English chosen")
            << QVariant(QStringList{"ja"}) << english << "ja" << int(AppLanguage::japanese) << false
            << int(AppLanguage::english) << QVariant(QStringList{"en"}) << true;
        QTest::newRow("back to system, which is the running language")
            << QVariant(QStringList{"ja"}) << english << "en" << int(AppLanguage::japanese) << true
            << int(AppLanguage::system) << QVariant() << false;
        QTest::newRow("back to system, which differs from the running one")
            << QVariant(QStringList{"ja"}) << QStringList{"ko-KR"} << "ja" << int(AppLanguage::japanese) << false
            << int(AppLanguage::system) << QVariant() << true;
        QTest::newRow("Chinese") << QVariant() << english << "en" << int(AppLanguage::system) << false
                                 << int(AppLanguage::simplifiedChinese) << QVariant(QStringList{"zh-Hans"}) << true;
        QTest::newRow("stored French code reads as system")
            << QVariant(QStringList{"fr"}) << QStringList{"fr-FR"} << "en" << int(AppLanguage::system) << false
            << int(AppLanguage::japanese) << QVariant(QStringList{"ja"}) << true;
    }

    void language()
    {
        QFETCH(QVariant, stored);
        QFETCH(QStringList, system);
        QFETCH(QString, inUse);
        QFETCH(int, opensWith);
        QFETCH(bool, relaunchAtOpen);
        QFETCH(int, chosen);
        QFETCH(QVariant, storedAfter);
        QFETCH(bool, relaunchAfter);
        if (stored.isValid())
            m_preferences->setValue(Preferences::languages, stored);
        m_desktop.systemLanguages = system;
        m_desktop.inUse = inUse;
        auto page = makePage();
        QCOMPARE(int(AppLanguage::Value(page->language())), opensWith);
        QCOMPARE(page->showsRelaunch(), relaunchAtOpen);

        QSignalSpy changes(page.get(), &GeneralSettingsPage::languageChanged);
        CuratorSpies spies(curator());
        page->setLanguage(AppLanguage(AppLanguage::Value(chosen)));
        QCOMPARE(changes.count(), chosen == opensWith ? 0 : 1);
        QCOMPARE(int(AppLanguage::Value(page->language())), chosen);
        if (storedAfter.isValid())
            QCOMPARE(m_preferences->value(Preferences::languages).toStringList(), storedAfter.toStringList());
        else if (chosen != opensWith)
            QVERIFY(!m_preferences->contains(Preferences::languages));
        QCOMPARE(page->showsRelaunch(), relaunchAfter);
        QCOMPARE(spies.counts(), (QMap<QString, int>{}));
        QCOMPARE(m_desktop.relaunches, 0);
    }

    void relaunchHandsOver()
    {
        auto page = makePage();
        page->setLanguage(AppLanguage::korean);
        page->relaunch();
        QCOMPARE(m_desktop.relaunches, 1);
        // Everything is written before the process goes.
        Preferences reread(m_preferences->filePath());
        QCOMPARE(reread.value(Preferences::languages).toStringList(), QStringList{"ko"});
    }

    // ---- the media folder --------------------------------------------------------------------------------

    void abbreviated_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("shown");
        QTest::newRow("under the home folder") << "/home/ann/Videos/Stashwell" << "/home/ann" << "~/Videos/Stashwell";
        QTest::newRow("home given with a slash") << "/home/ann/Videos/Stashwell" << "/home/ann/" << "~/Videos/Stashwell";
        QTest::newRow("the home folder itself") << "/home/ann" << "/home/ann" << "~";
        QTest::newRow("outside") << "/srv/media/Stashwell" << "/home/ann" << "/srv/media/Stashwell";
        QTest::newRow("a neighbour whose name begins like home")
            << "/home/anna/Videos" << "/home/ann" << "/home/anna/Videos";
        QTest::newRow("home further in") << "/mnt/home/ann/Videos" << "/home/ann" << "/mnt/home/ann/Videos";
        QTest::newRow("home inside again") << "/home/ann/backup/home/ann" << "/home/ann" << "~/backup/home/ann";
        QTest::newRow("home is the root") << "/media/Stashwell" << "/" << "/media/Stashwell";
    }

    void abbreviated()
    {
        QFETCH(QString, path);
        QFETCH(QString, home);
        QFETCH(QString, shown);
        QCOMPARE(GeneralSettingsPage::abbreviated(path, home), shown);
    }

    void folderShownAndOpened()
    {
        m_desktop.home = m_rig->dir.path();
        auto page = makePage();
        QCOMPARE(page->folderText(), QStringLiteral("~/media"));
        page->showFolder();
        QCOMPARE(m_desktop.opened, QList<QUrl>{QUrl::fromLocalFile(m_rig->mediaPath())});
    }
};

QTEST_GUILESS_MAIN(GeneralSettingsPageTest)
#include "tst_generalsettingspage.moc"
