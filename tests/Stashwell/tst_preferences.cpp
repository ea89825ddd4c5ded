// The preferences file and the start-up reading of it: every value is written, the object is
// destroyed, and a new one reads the file back, as a relaunch would.

#include "Stashwell/Preferences/StartupPreferences.h"
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

    void unreadableFileReadsAsEmpty_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not JSON") << QByteArray("theme = dark\n");
        QTest::newRow("an array") << QByteArray("[\"dark\"]");
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

    // The other rows of the table: what each key reads as, written as the read value's text.
    void startupRows_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("read");

        const auto row = [](const char *name, const QString &key, const QVariant &stored, const char *read) {
            QTest::newRow(name) << key << stored << QString::fromUtf8(read);
        };
        row("downloads: missing", Preferences::downloadsOnSave, QVariant(), "true");
        row("downloads: false", Preferences::downloadsOnSave, false, "false");
        row("downloads: \"false\" as text", Preferences::downloadsOnSave, QStringLiteral("false"), "true");
        row("downloads: 0 as a number", Preferences::downloadsOnSave, 0, "true");
        row("quality: missing", Preferences::quality, QVariant(), "original");
        row("quality: hd", Preferences::quality, QStringLiteral("hd"), "hd");
        row("quality: HD in capitals", Preferences::quality, QStringLiteral("HD"), "original");
        row("quality: a number", Preferences::quality, 2, "original");
        row("theme: missing", Preferences::theme, QVariant(), "system");
        row("theme: dark", Preferences::theme, QStringLiteral("dark"), "dark");
        row("theme: Dark in capitals", Preferences::theme, QStringLiteral("Dark"), "system");
        row("theme: a Boolean", Preferences::theme, true, "system");
        row("route: missing", Preferences::networkRoute, QVariant(), "system");
        row("route: SOCKS with port 1080", Preferences::networkRoute, QStringLiteral("socks://127.0.0.1:1080"),
            "socks://127.0.0.1:1080");
        row("route: direct, with spaces around", Preferences::networkRoute, QStringLiteral(" direct\n"), "direct");
        row("route: a word that is no route", Preferences::networkRoute, QStringLiteral("tor"), "system");
        row("route: proxy without a port", Preferences::networkRoute, QStringLiteral("http://proxy.lan"), "system");
        row("route: a number", Preferences::networkRoute, 1080, "system");
    }

    void startupRows()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, read);
        store(key, stored);
        Preferences preferences(path());
        const StartupPreferences startup = StartupPreferences::read(preferences);
        QString got;
        if (key == Preferences::downloadsOnSave)
            got = startup.downloadsOnSave ? QStringLiteral("true") : QStringLiteral("false");
        else if (key == Preferences::quality)
            got = startup.quality.rawValue();
        else if (key == Preferences::theme)
            got = themeRawValue(startup.theme);
        else
            got = startup.route.rawValue();
        QCOMPARE(got, read);
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
