// The general settings without widgets: defaults on an empty preference file, observers that pass
// the download settings to the Curator only on a change, the language choice with its relaunch
// button, and the media folder's text.

#include "Stashwell/Pages/Settings/GeneralSettingsPage.h"

#include "CuratorHome.h"
#include "CuratorRig.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::test;

using Counts = QMap<QString, int>;   // how often each field of the Curator signalled

class GeneralSettingsPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<CuratorRig> m_rig;
    QStringList m_system{QStringLiteral("en-GB")};
    QString m_inUse = QStringLiteral("en");
    int m_relaunches = 0;
    QList<QUrl> m_opened;

    Curator &curator() { return *m_rig->curator; }
    std::unique_ptr<GeneralSettingsPage> makePage()
    {
        GeneralSettingsPage::Environment env;
        env.systemLanguages = [this] { return m_system; };
        env.languageInUse = [this] { return m_inUse; };
        env.relaunch = [this] { ++m_relaunches; };
        env.openFolder = [this](const QUrl &url) { m_opened.append(url); };
        env.homePath = [this] { return m_rig->dir.path(); };
        return std::make_unique<GeneralSettingsPage>(curator(), *m_preferences, env);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_preferences = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("preferences.json")));
        m_rig = std::make_unique<CuratorRig>();
        m_system = {QStringLiteral("en-GB")};
        m_inUse = QStringLiteral("en");
        m_relaunches = 0;
        m_opened.clear();
    }

    // With no preferences stored the page shows the defaults, and opening it calls nothing on the
    // Curator, even when the stored values differ from the Curator's.
    void defaultsAndOpening()
    {
        auto page = makePage();
        QCOMPARE(page->downloadsOnSave(), true);
        QCOMPARE(page->quality(), Quality(Quality::original));
        QCOMPARE(page->limit(), std::int64_t(5));
        QCOMPARE(page->theme(), app::Theme::system);
        QCOMPARE(page->surface(), Surface::solid);
        QCOMPARE(page->language(), AppLanguage(AppLanguage::system));
        QVERIFY(!QFile::exists(m_preferences->filePath()));

        m_preferences->setValue(Preferences::mediaLimitGB, 20);
        m_preferences->setValue(Preferences::quality, QStringLiteral("small"));
        CuratorSpies spies(curator());
        const int writes = m_rig->archive->writes;
        auto again = makePage();
        QCOMPARE(again->limit(), std::int64_t(20));
        QCOMPARE(spies.counts(), Counts{});
        QCOMPARE(m_rig->archive->writes, writes);
    }

    // A change, made through the page or by anyone else, reaches the Curator once; a value that
    // reads the same reaches it never.
    void observers_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("before");   // invalid: missing
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<Counts>("expected");
        QTest::addColumn<qint64>("budget");
        const qint64 b = CuratorRig::kBudget;
        const Counts media{{"localMedia", 1}};
        QTest::newRow("limit 5 to 20") << Preferences::mediaLimitGB << QVariant(5) << QVariant(20) << media
                                       << qint64(21474836480);
        QTest::newRow("limit missing to 1") << Preferences::mediaLimitGB << QVariant() << QVariant(1) << media
                                            << (qint64(1) << 30);
        QTest::newRow("limit written as the 5 it read") << Preferences::mediaLimitGB << QVariant() << QVariant(5)
                                                        << Counts{} << b;
        QTest::newRow("limit 5 to 5.0") << Preferences::mediaLimitGB << QVariant(5) << QVariant(5.0) << Counts{} << b;
        QTest::newRow("limit 2^33 has no byte count: ignored")
            << Preferences::mediaLimitGB << QVariant(5) << QVariant(qint64(1) << 33) << Counts{} << b;
        QTest::newRow("downloads off") << Preferences::downloadsOnSave << QVariant() << QVariant(false)
                                       << Counts{{"downloadsOnSave", 1}} << b;
        QTest::newRow("downloads written as the true it read")
            << Preferences::downloadsOnSave << QVariant() << QVariant(true) << Counts{} << b;
        QTest::newRow("quality to hd") << Preferences::quality << QVariant() << QVariant(QStringLiteral("hd"))
                                       << Counts{{"quality", 1}} << b;
        QTest::newRow("theme") << Preferences::theme << QVariant() << QVariant(QStringLiteral("dark")) << Counts{} << b;
    }

    void observers()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, before);
        QFETCH(QVariant, after);
        QFETCH(Counts, expected);
        QFETCH(qint64, budget);
        if (before.isValid())
            m_preferences->setValue(key, before);
        auto page = makePage();
        CuratorSpies spies(curator());
        m_preferences->setValue(key, after);
        QCOMPARE(spies.counts(), expected);
        QCOMPARE(curator().localMedia().budget().limit, budget);
        QCOMPARE(curator().downloadsOnSave(), page->downloadsOnSave());
        QCOMPARE(curator().quality(), page->quality());
    }

    void language_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("inUse");
        QTest::addColumn<bool>("relaunchAtOpen");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("relaunchAfter");
        const QStringList english{"en-GB"};
        QTest::newRow("Japanese while running in Japanese")
            << QStringList() << english << "ja" << true << int(AppLanguage::japanese) << false;
        QTest::newRow("Korean while running in English")
            << QStringList() << english << "en" << false << int(AppLanguage::korean) << true;
        QTest::newRow("back to system, the running language")
            << QStringList{"ja"} << english << "en" << true << int(AppLanguage::system) << false;
        QTest::newRow("back to system, not the running language")
            << QStringList{"ja"} << QStringList{"ko-KR"} << "ja" << false << int(AppLanguage::system) << true;
        QTest::newRow("a French code stored reads as system")
            << QStringList{"fr"} << QStringList{"fr-FR"} << "en" << false << int(AppLanguage::simplifiedChinese) << true;
    }

    void language()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, system);
        QFETCH(QString, inUse);
        QFETCH(bool, relaunchAtOpen);
        QFETCH(int, chosen);
        QFETCH(bool, relaunchAfter);
        if (!stored.isEmpty())
            m_preferences->setValue(Preferences::languages, stored);
        m_system = system;
        m_inUse = inUse;
        auto page = makePage();
        QCOMPARE(page->language(), AppLanguage::stored(*m_preferences));
        QCOMPARE(page->showsRelaunch(), relaunchAtOpen);
        const AppLanguage choice{AppLanguage::Value(chosen)};
        page->setLanguage(choice);
        QCOMPARE(page->showsRelaunch(), relaunchAfter);
        // Written at once: one code, or no key at all for the system's language.
        Preferences reread(m_preferences->filePath());
        if (choice == AppLanguage::system)
            QVERIFY(!reread.contains(Preferences::languages));
        else
            QCOMPARE(reread.value(Preferences::languages).toStringList(), QStringList{choice.rawValue()});
        QCOMPARE(m_relaunches, 0);
        page->relaunch();
        QCOMPARE(m_relaunches, 1);
    }

    // Made without the running process's language and relaunch (App hands them in), the page
    // knows no language in use: every choice offers the relaunch, which then does nothing.
    void languageWithoutTheRunningProcess_data()
    {
        QTest::addColumn<int>("chosen");
        for (AppLanguage language : AppLanguage::allCases())
            QTest::newRow(qPrintable(language.rawValue())) << int(language);
    }

    void languageWithoutTheRunningProcess()
    {
        QFETCH(int, chosen);
        GeneralSettingsPage::Environment env;
        env.systemLanguages = [this] { return m_system; };
        env.homePath = [this] { return m_rig->dir.path(); };
        GeneralSettingsPage page(curator(), *m_preferences, env);
        page.setLanguage(AppLanguage::Value(chosen));
        QVERIFY(page.showsRelaunch());
        page.relaunch();
        QCOMPARE(m_relaunches, 0);
        QCOMPARE(page.language(), AppLanguage(AppLanguage::Value(chosen)));
    }

    void folder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        QTest::newRow("under home") << "/home/ann/Videos/Stashwell" << "~/Videos/Stashwell";
        QTest::newRow("home itself") << "/home/ann" << "~";
        QTest::newRow("outside") << "/srv/media/Stashwell" << "/srv/media/Stashwell";
        QTest::newRow("a neighbour named like home") << "/home/anna/Videos" << "/home/anna/Videos";
        QTest::newRow("home further in") << "/mnt/home/ann/Videos" << "/mnt/home/ann/Videos";
    }

    void folder()
    {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        QCOMPARE(GeneralSettingsPage::abbreviated(path, QStringLiteral("/home/ann")), shown);
        QCOMPARE(GeneralSettingsPage::abbreviated(path, QStringLiteral("/home/ann/")), shown);
        auto page = makePage();
        QCOMPARE(page->folderText(), QStringLiteral("~/media"));
        page->showFolder();
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(m_rig->mediaPath())});
    }
};

QTEST_GUILESS_MAIN(GeneralSettingsPageTest)
#include "tst_generalsettingspage.moc"
