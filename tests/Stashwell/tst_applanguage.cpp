// The interface language: what is stored, what is written, when a relaunch is needed, and the
// relaunch command, run for real against a stand-in application whose path has spaces.

#include "Stashwell/App/InterfaceLanguage.h"
#include "Stashwell/Preferences/AppLanguage.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace sw::app;

Q_DECLARE_METATYPE(AppLanguage)

class AppLanguageTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("preferences.json")); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void init() { QFile::remove(path()); }

    void stored_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<AppLanguage>("language");
        QTest::newRow("nothing stored") << QVariant() << AppLanguage(AppLanguage::system);
        QTest::newRow("ja first") << QVariant(QStringList{QStringLiteral("ja"), QStringLiteral("en")})
                                  << AppLanguage(AppLanguage::japanese);
        QTest::newRow("zh-Hans") << QVariant(QStringList{QStringLiteral("zh-Hans")})
                                 << AppLanguage(AppLanguage::simplifiedChinese);
        QTest::newRow("a French code") << QVariant(QStringList{QStringLiteral("fr")}) << AppLanguage(AppLanguage::system);
        QTest::newRow("an empty list") << QVariant(QStringList{}) << AppLanguage(AppLanguage::system);
        QTest::newRow("a text, not a list") << QVariant(QStringLiteral("ja")) << AppLanguage(AppLanguage::system);
        QTest::newRow("a list with a number") << QVariant(QVariantList{QVariant(QStringLiteral("ko")), QVariant(7)})
                                              << AppLanguage(AppLanguage::system);
        QTest::newRow("\"system\" written out") << QVariant(QStringList{QStringLiteral("system")})
                                                << AppLanguage(AppLanguage::system);
    }

    void stored()
    {
        QFETCH(QVariant, value);
        QFETCH(AppLanguage, language);
        {
            Preferences preferences(path());
            if (value.isValid())
                preferences.setValue(Preferences::languages, value);
        }
        Preferences preferences(path());
        QCOMPARE(AppLanguage::stored(preferences), language);
    }

    void apply_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QVariant>("written");
        QTest::newRow("english") << AppLanguage(AppLanguage::english) << QVariant(QVariantList{QStringLiteral("en")});
        QTest::newRow("korean") << AppLanguage(AppLanguage::korean) << QVariant(QVariantList{QStringLiteral("ko")});
        QTest::newRow("simplified Chinese") << AppLanguage(AppLanguage::simplifiedChinese)
                                            << QVariant(QVariantList{QStringLiteral("zh-Hans")});
        QTest::newRow("system removes the key") << AppLanguage(AppLanguage::system) << QVariant();
    }

    void apply()
    {
        QFETCH(AppLanguage, language);
        QFETCH(QVariant, written);
        {
            Preferences preferences(path());
            preferences.setValue(Preferences::languages, QStringList{QStringLiteral("ja")});
            language.apply(preferences);
        }
        Preferences preferences(path());
        const QVariant value = preferences.value(Preferences::languages);
        QCOMPARE(value.isValid(), written.isValid());
        if (written.isValid())
            QVERIFY(Preferences::sameValue(value, written));
        QCOMPARE(AppLanguage::stored(preferences), language);
    }

    void needsRelaunch_data()
    {
        QTest::addColumn<AppLanguage>("choice");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("inUse");
        QTest::addColumn<bool>("needed");

        const QStringList japaneseDesktop{QStringLiteral("ja-JP"), QStringLiteral("en-US")};
        QTest::newRow("japanese while running in Japanese")
            << AppLanguage(AppLanguage::japanese) << japaneseDesktop << QStringLiteral("ja") << false;
        QTest::newRow("japanese while running in English")
            << AppLanguage(AppLanguage::japanese) << japaneseDesktop << QStringLiteral("en") << true;
        QTest::newRow("system on a Japanese desktop, running in Japanese")
            << AppLanguage(AppLanguage::system) << japaneseDesktop << QStringLiteral("ja") << false;
        QTest::newRow("system on a Japanese desktop, running in Korean")
            << AppLanguage(AppLanguage::system) << japaneseDesktop << QStringLiteral("ko") << true;
        QTest::newRow("system: French first, then Korean")
            << AppLanguage(AppLanguage::system) << QStringList{QStringLiteral("fr-FR"), QStringLiteral("ko-KR")}
            << QStringLiteral("ko") << false;
        QTest::newRow("system: traditional Chinese is not written, English follows")
            << AppLanguage(AppLanguage::system) << QStringList{QStringLiteral("zh-TW"), QStringLiteral("en-GB")}
            << QStringLiteral("en") << false;
        QTest::newRow("system: simplified Chinese")
            << AppLanguage(AppLanguage::system) << QStringList{QStringLiteral("zh-CN")} << QStringLiteral("zh_CN") << false;
        QTest::newRow("system with no language we write: English")
            << AppLanguage(AppLanguage::system) << QStringList{QStringLiteral("fr-FR"), QStringLiteral("de-DE")}
            << QStringLiteral("en") << false;
        QTest::newRow("system with an empty list: English")
            << AppLanguage(AppLanguage::system) << QStringList{} << QStringLiteral("ja") << true;
        QTest::newRow("simplified Chinese while running in it")
            << AppLanguage(AppLanguage::simplifiedChinese) << japaneseDesktop << QStringLiteral("zh_CN") << false;
        QTest::newRow("nothing known in use")
            << AppLanguage(AppLanguage::english) << japaneseDesktop << QString() << true;
    }

    void needsRelaunch()
    {
        QFETCH(AppLanguage, choice);
        QFETCH(QStringList, system);
        QFETCH(QString, inUse);
        QFETCH(bool, needed);
        QCOMPARE(choice.needsRelaunch(system, inUse), needed);
    }

    // Qt's own texts follow the interface language: a failed connection check shows the network
    // layer's error, and edit fields their context menu, in the language of the rest.
    void platformTexts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("translated");
        QTest::newRow("japanese") << "ja" << QString() << true;
        QTest::newRow("korean") << "ko" << QString() << true;
        QTest::newRow("chinese") << "zh_CN" << QString() << true;
        QTest::newRow("english keeps Qt's own") << "en" << QString() << false;
        QTest::newRow("no language") << QString() << QString() << false;
        QTest::newRow("no catalogue in the folder") << "ja" << m_dir.path() << false;
    }

    void platformTexts()
    {
        QFETCH(QString, language);
        QFETCH(QString, folder);
        QFETCH(bool, translated);
        const auto translator = InterfaceLanguage::platformTexts(language, folder);
        QCOMPARE(translator != nullptr, translated);
        const QString refused = QStringLiteral("Connection refused");
        if (translator) {
            QVERIFY(QCoreApplication::installTranslator(translator.get()));
            const QString text = QCoreApplication::translate("QAbstractSocket", "Connection refused");
            QCoreApplication::removeTranslator(translator.get());
            QVERIFY(!text.isEmpty());
            QVERIFY2(text != refused, qPrintable(text));
        }
        QCOMPARE(QCoreApplication::translate("QAbstractSocket", "Connection refused"), refused);
    }

    void relaunchLaunchesAShellThenQuits()
    {
        QString program;
        QStringList arguments;
        int launches = 0;
        int quits = 0;
        InterfaceLanguage::relaunch(
            [&](const QString &p, const QStringList &a) {
                ++launches;
                program = p;
                arguments = a;
                return false;   // a failed launch still ends the application
            },
            [&] { ++quits; });
        QCOMPARE(launches, 1);
        QCOMPARE(quits, 1);
        // A shell that starts this very program after this very process.
        QCOMPARE(program, QStringLiteral("/bin/sh"));
        QCOMPARE(arguments, InterfaceLanguage::relaunchArguments(QCoreApplication::applicationFilePath(),
                                                           QCoreApplication::applicationPid()));
    }

    // The command, run for real: it waits for the old process, then starts the application at a
    // path with spaces and quotes, once.
    void relaunchCommandWaitsThenStartsThePathAsItIs()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("My Apps/it's \"here\" $HOME"));
        QVERIFY(QDir().mkpath(folder));
        const QString marker = dir.filePath(QStringLiteral("started"));
        const QString application = folder + QStringLiteral("/Stashwell app");
        {
            QFile script(application);
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\necho started >> '" + marker.toUtf8() + "'\n");
        }
        QVERIFY(QFile::setPermissions(application, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        // The "old process": runs until the test ends it.
        QProcess old;
        old.start(QStringLiteral("/bin/sleep"), {QStringLiteral("60")});
        QVERIFY(old.waitForStarted());

        QProcess relaunch;
        relaunch.start(QStringLiteral("/bin/sh"), InterfaceLanguage::relaunchArguments(application, old.processId()));
        QVERIFY(relaunch.waitForStarted());
        // While the old process runs, nothing is started.
        QVERIFY(!relaunch.waitForFinished(300));
        QVERIFY(!QFile::exists(marker));

        old.kill();
        QVERIFY(old.waitForFinished());
        QVERIFY(relaunch.waitForFinished(10000));
        QCOMPARE(relaunch.exitCode(), 0);
        QFile started(marker);
        QVERIFY(started.open(QIODevice::ReadOnly));
        QCOMPARE(started.readAll(), QByteArray("started\n"));
    }
};

QTEST_GUILESS_MAIN(AppLanguageTest)
#include "tst_applanguage.moc"
