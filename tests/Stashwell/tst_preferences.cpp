// The preferences file and the start-up reading of it: every value is written, the object is
// destroyed, and a new one reads the file back, as a relaunch would.

#include "Stashwell/App/StartupPreferences.h"
#include "Stashwell/Preferences/JsonSettingsFormat.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>

using sw::Quality;
using namespace sw::app;

Q_DECLARE_METATYPE(std::optional<std::int64_t>)

namespace {

constexpr std::int64_t GiB = std::int64_t(1) << 30;

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path() const { return m_dir.filePath(QStringLiteral("config/Stashwell/preferences.json")); }

    // Writes one value with a Preferences object that is then destroyed.
    void store(const QString &key, const QVariant &value)
    {
        Preferences preferences(path());
        if (value.isValid())
            preferences.setValue(key, value);
    }

    QJsonValue jsonInFile(const QString &key) const
    {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly))
            return QJsonValue::Undefined;
        return QJsonDocument::fromJson(file.readAll()).object().value(key);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void init() { QFile::remove(path()); }

    void valuesKeepTheirKind_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("jsonType");

        QTest::newRow("false") << QVariant(false) << int(QJsonValue::Bool);
        QTest::newRow("whole number") << QVariant(20) << int(QJsonValue::Double);
        QTest::newRow("the digits as text") << QVariant(QStringLiteral("20")) << int(QJsonValue::String);
        QTest::newRow("2^40") << QVariant(qlonglong(1) << 40) << int(QJsonValue::Double);
        QTest::newRow("negative") << QVariant(-3) << int(QJsonValue::Double);
        QTest::newRow("fraction") << QVariant(20.5) << int(QJsonValue::Double);
        QTest::newRow("list of one code") << QVariant(QStringList{QStringLiteral("ja")}) << int(QJsonValue::Array);
        QTest::newRow("text with quotes and a slash")
            << QVariant(QStringLiteral("socks://\"odd\"/host:1080")) << int(QJsonValue::String);
    }

    void valuesKeepTheirKind()
    {
        QFETCH(QVariant, value);
        QFETCH(int, jsonType);
        store(QStringLiteral("someKey"), value);

        QCOMPARE(int(jsonInFile(QStringLiteral("someKey")).type()), jsonType);
        Preferences again(path());
        const QVariant read = again.value(QStringLiteral("someKey"));
        QVERIFY2(Preferences::sameValue(read, value), qPrintable(read.toString()));
        // A Boolean stays a Boolean and a number a number: neither reads as the other kind.
        QCOMPARE(read.typeId() == QMetaType::Bool, value.typeId() == QMetaType::Bool);
        QCOMPARE(read.typeId() == QMetaType::QString, value.typeId() == QMetaType::QString);
    }

    void nestedGroupsRoundTrip()
    {
        QSettings::SettingsMap map;
        map.insert(QStringLiteral("window/geometry/width"), 1440);
        map.insert(QStringLiteral("window/title"), QStringLiteral("Stashwell"));
        map.insert(QStringLiteral("theme"), QStringLiteral("dark"));
        QSettings::SettingsMap back;
        QVERIFY(readJsonSettings(writeJsonSettings(map), back));
        QCOMPARE(back.keys(), map.keys());
        QCOMPARE(back.value(QStringLiteral("window/geometry/width")).toLongLong(), 1440);
    }

    void unreadableFileReadsAsEmpty_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not JSON") << QByteArray("theme = dark\n");
        QTest::newRow("an array") << QByteArray("[\"dark\"]");
        QTest::newRow("cut short") << QByteArray("{\"theme\": \"da");
    }

    void unreadableFileReadsAsEmpty()
    {
        QFETCH(QByteArray, bytes);
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        Preferences preferences(path());
        QVERIFY(!preferences.value(Preferences::theme).isValid());
        QVERIFY(preferences.hasFileError());
        const StartupPreferences read = StartupPreferences::read(preferences);
        QCOMPARE(read.theme, Theme::system);
        QVERIFY(read.route.isSystem());
        QCOMPARE(read.downloadsOnSave, true);
        QVERIFY(!read.mediaLimit);
        QCOMPARE(read.quality, Quality(Quality::original));
    }

    // ---- the start-up table, row by row, through the file ----

    void mediaLimit_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<std::optional<std::int64_t>>("budget");

        QTest::newRow("missing") << QVariant() << std::optional<std::int64_t>();
        QTest::newRow("20") << QVariant(20) << std::optional<std::int64_t>(20 * GiB);
        QTest::newRow("\"20\" as text") << QVariant(QStringLiteral("20")) << std::optional<std::int64_t>();
        QTest::newRow("0") << QVariant(0) << std::optional<std::int64_t>(0);
        QTest::newRow("-3") << QVariant(-3) << std::optional<std::int64_t>(-3 * GiB);
        QTest::newRow("2^40 does not fit") << QVariant(qlonglong(1) << 40) << std::optional<std::int64_t>();
        QTest::newRow("2^33 - 1, the largest that fits")
            << QVariant((qlonglong(1) << 33) - 1) << std::optional<std::int64_t>(((std::int64_t(1) << 33) - 1) * GiB);
        QTest::newRow("2^33 does not fit") << QVariant(qlonglong(1) << 33) << std::optional<std::int64_t>();
        QTest::newRow("-2^33, the smallest that fits")
            << QVariant(-(qlonglong(1) << 33)) << std::optional<std::int64_t>(-(std::int64_t(1) << 33) * GiB);
        QTest::newRow("-2^33 - 1 does not fit") << QVariant(-(qlonglong(1) << 33) - 1) << std::optional<std::int64_t>();
        QTest::newRow("largest 64-bit number") << QVariant(std::numeric_limits<qlonglong>::max())
                                                 << std::optional<std::int64_t>();
        QTest::newRow("fraction") << QVariant(20.5) << std::optional<std::int64_t>();
        QTest::newRow("Boolean") << QVariant(true) << std::optional<std::int64_t>();
        QTest::newRow("list") << QVariant(QStringList{QStringLiteral("20")}) << std::optional<std::int64_t>();
    }

    void mediaLimit()
    {
        QFETCH(QVariant, stored);
        QFETCH(std::optional<std::int64_t>, budget);
        store(Preferences::mediaLimitGB, stored);
        Preferences preferences(path());
        QCOMPARE(StartupPreferences::read(preferences).mediaLimit, budget);
    }

    void mediaLimitWrittenAsAFractionlessNumber()
    {
        // A hand-edited file may write the number as 20.0; it is still a whole number.
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"mediaLimitGB\": 20.0, \"quality\": \"small\"}");
        file.close();
        Preferences preferences(path());
        QCOMPARE(StartupPreferences::read(preferences).mediaLimit, std::optional<std::int64_t>(20 * GiB));
        QCOMPARE(StartupPreferences::read(preferences).quality, Quality(Quality::small));
    }

    void downloadsOnSave_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("missing") << QVariant() << true;
        QTest::newRow("false") << QVariant(false) << false;
        QTest::newRow("true") << QVariant(true) << true;
        QTest::newRow("\"false\" as text") << QVariant(QStringLiteral("false")) << true;
        QTest::newRow("0 as a number") << QVariant(0) << true;
    }

    void downloadsOnSave()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, on);
        store(Preferences::downloadsOnSave, stored);
        Preferences preferences(path());
        QCOMPARE(StartupPreferences::read(preferences).downloadsOnSave, on);
    }

    void quality_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("quality");
        QTest::newRow("missing") << QVariant() << int(Quality::original);
        QTest::newRow("hd") << QVariant(QStringLiteral("hd")) << int(Quality::hd);
        QTest::newRow("small") << QVariant(QStringLiteral("small")) << int(Quality::small);
        QTest::newRow("HD in capitals") << QVariant(QStringLiteral("HD")) << int(Quality::original);
        QTest::newRow("a number") << QVariant(2) << int(Quality::original);
    }

    void quality()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, quality);
        store(Preferences::quality, stored);
        Preferences preferences(path());
        QCOMPARE(StartupPreferences::read(preferences).quality, Quality(Quality::Value(quality)));
    }

    void theme_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("theme");
        QTest::newRow("missing") << QVariant() << int(Theme::system);
        QTest::newRow("dark") << QVariant(QStringLiteral("dark")) << int(Theme::dark);
        QTest::newRow("light") << QVariant(QStringLiteral("light")) << int(Theme::light);
        QTest::newRow("Dark in capitals") << QVariant(QStringLiteral("Dark")) << int(Theme::system);
        QTest::newRow("a Boolean") << QVariant(true) << int(Theme::system);
    }

    void theme()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, theme);
        store(Preferences::theme, stored);
        Preferences preferences(path());
        QCOMPARE(StartupPreferences::read(preferences).theme, Theme(theme));
    }

    void route_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("route");
        QTest::newRow("missing") << QVariant() << QStringLiteral("system");
        QTest::newRow("SOCKS with port 1080") << QVariant(QStringLiteral("socks://127.0.0.1:1080"))
                                              << QStringLiteral("socks://127.0.0.1:1080");
        QTest::newRow("HTTP proxy") << QVariant(QStringLiteral("http://proxy.lan:3128")) << QStringLiteral("http://proxy.lan:3128");
        QTest::newRow("direct, with spaces around") << QVariant(QStringLiteral(" direct\n")) << QStringLiteral("direct");
        QTest::newRow("a word that is no route") << QVariant(QStringLiteral("tor")) << QStringLiteral("system");
        QTest::newRow("proxy without a port") << QVariant(QStringLiteral("http://proxy.lan")) << QStringLiteral("system");
        QTest::newRow("a number") << QVariant(1080) << QStringLiteral("system");
    }

    void route()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, route);
        store(Preferences::networkRoute, stored);
        Preferences preferences(path());
        QCOMPARE(StartupPreferences::read(preferences).route.rawValue(), route);
    }

    // ---- change signals ----

    void signalsOnlyForRealChanges()
    {
        Preferences preferences(path());
        QSignalSpy any(&preferences, &Preferences::valueChanged);
        QSignalSpy limit(&preferences, &Preferences::mediaLimitGBChanged);
        QSignalSpy theme(&preferences, &Preferences::themeChanged);

        preferences.setValue(Preferences::mediaLimitGB, 20);
        QCOMPARE(limit.count(), 1);
        preferences.setValue(Preferences::mediaLimitGB, qlonglong(20));   // the same number, another width
        QCOMPARE(limit.count(), 1);
        preferences.setValue(Preferences::mediaLimitGB, QStringLiteral("20"));   // another kind
        QCOMPARE(limit.count(), 2);
        preferences.setValue(Preferences::mediaLimitGB, 20.0);   // back to a number
        QCOMPARE(limit.count(), 3);
        preferences.remove(Preferences::mediaLimitGB);
        QCOMPARE(limit.count(), 4);
        preferences.remove(Preferences::mediaLimitGB);
        QCOMPARE(limit.count(), 4);
        QCOMPARE(theme.count(), 0);
        QCOMPARE(any.count(), 4);
        QCOMPARE(any.last().first().toString(), Preferences::mediaLimitGB);
    }

    void eachKeyHasItsSignal_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("signal");
        QTest::newRow("theme") << Preferences::theme << QByteArray(SIGNAL(themeChanged()));
        QTest::newRow("surface") << Preferences::surface << QByteArray(SIGNAL(surfaceChanged()));
        QTest::newRow("settingsTab") << Preferences::settingsTab << QByteArray(SIGNAL(settingsTabChanged()));
        QTest::newRow("downloadsOnSave") << Preferences::downloadsOnSave << QByteArray(SIGNAL(downloadsOnSaveChanged()));
        QTest::newRow("mediaLimitGB") << Preferences::mediaLimitGB << QByteArray(SIGNAL(mediaLimitGBChanged()));
        QTest::newRow("quality") << Preferences::quality << QByteArray(SIGNAL(qualityChanged()));
        QTest::newRow("networkRoute") << Preferences::networkRoute << QByteArray(SIGNAL(networkRouteChanged()));
        QTest::newRow("languages") << Preferences::languages << QByteArray(SIGNAL(languagesChanged()));
    }

    void eachKeyHasItsSignal()
    {
        QFETCH(QString, key);
        QFETCH(QByteArray, signal);
        Preferences preferences(path());
        QSignalSpy own(&preferences, signal.constData());
        QSignalSpy any(&preferences, &Preferences::valueChanged);
        preferences.setValue(key, QStringLiteral("one"));
        preferences.setValue(key, QStringLiteral("one"));
        QCOMPARE(own.count(), 1);
        QCOMPARE(any.count(), 1);
    }

    void listsReadBackEqual()
    {
        store(Preferences::languages, QStringList{QStringLiteral("ko")});
        Preferences preferences(path());
        QSignalSpy spy(&preferences, &Preferences::languagesChanged);
        // The file gives back a list of variants; the same codes are no change.
        preferences.setValue(Preferences::languages, QStringList{QStringLiteral("ko")});
        QCOMPARE(spy.count(), 0);
        preferences.setValue(Preferences::languages, QStringList{QStringLiteral("ja")});
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(PreferencesTest)
#include "tst_preferences.moc"
