#include "Stashwell/Pages/Settings/GeneralSettingsPage.h"

#include "StashKit/Curator.h"
#include "Stashwell/Preferences/StartupPreferences.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QDesktopServices>
#include <QDir>
#include <QLocale>

namespace sw::app {

namespace {

std::optional<QString> text(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

}  // namespace

GeneralSettingsPage::Environment GeneralSettingsPage::Environment::completed() const
{
    Environment out = *this;
    if (!out.systemLanguages)
        out.systemLanguages = [] { return QLocale::system().uiLanguages(); };
    if (!out.languageInUse)
        out.languageInUse = [] { return QString(); };
    if (!out.relaunch)
        out.relaunch = [] {};
    if (!out.openFolder)
        out.openFolder = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    if (!out.homePath)
        out.homePath = [] { return QDir::homePath(); };
    return out;
}

GeneralSettingsPage::GeneralSettingsPage(Curator &curator, Preferences &preferences, Environment environment,
                                         QObject *parent)
    : QObject(parent), m_curator(curator), m_preferences(preferences), m_environment(environment.completed()),
      m_language(AppLanguage::stored(preferences))
{
    m_seenDownloadsOnSave = downloadsOnSave();
    m_seenLimitBytes = limitBytes(limit());
    m_seenQuality = quality();
    observe();
}

GeneralSettingsPage::~GeneralSettingsPage() = default;

void GeneralSettingsPage::observe()
{
    // Each observer acts on a change of its value only, never on the value the page opened with.
    connect(&m_preferences, &Preferences::downloadsOnSaveChanged, this, [this] {
        const bool now = downloadsOnSave();
        if (now != m_seenDownloadsOnSave) {
            m_seenDownloadsOnSave = now;
            m_curator.setDownloadsOnSave(now);
        }
        emit downloadsOnSaveChanged();
    });
    connect(&m_preferences, &Preferences::mediaLimitGBChanged, this, [this] {
        // A number whose byte count does not fit is ignored.
        const auto bytes = StartupPreferences::mediaLimitFrom(m_preferences.value(Preferences::mediaLimitGB));
        if (bytes && bytes != m_seenLimitBytes)
            m_curator.limitLocalMedia(*bytes);
        m_seenLimitBytes = bytes;
        emit limitChanged();
    });
    connect(&m_preferences, &Preferences::qualityChanged, this, [this] {
        const Quality now = quality();
        if (now != m_seenQuality) {
            m_seenQuality = now;
            m_curator.setQuality(now);
        }
        emit qualityChanged();
    });
    connect(&m_preferences, &Preferences::themeChanged, this, &GeneralSettingsPage::themeChanged);
    connect(&m_preferences, &Preferences::surfaceChanged, this, &GeneralSettingsPage::surfaceChanged);
    connect(&m_curator, &Curator::localMediaChanged, this, &GeneralSettingsPage::folderChanged);
}

bool GeneralSettingsPage::downloadsOnSave() const
{
    return StartupPreferences::downloadsOnSaveFrom(m_preferences.value(Preferences::downloadsOnSave));
}

void GeneralSettingsPage::setDownloadsOnSave(bool on)
{
    m_preferences.setValue(Preferences::downloadsOnSave, on);
}

std::int64_t GeneralSettingsPage::limit() const
{
    const auto bytes = StartupPreferences::mediaLimitFrom(m_preferences.value(Preferences::mediaLimitGB));
    return bytes ? *bytes / (std::int64_t(1) << 30) : kDefaultLimit;
}

void GeneralSettingsPage::setLimit(std::int64_t gibibytes)
{
    m_preferences.setValue(Preferences::mediaLimitGB, qint64(gibibytes));
}

std::optional<std::int64_t> GeneralSettingsPage::limitBytes(std::int64_t gibibytes)
{
    return StartupPreferences::mediaLimitFrom(QVariant(qint64(gibibytes)));
}

Quality GeneralSettingsPage::quality() const
{
    return StartupPreferences::qualityFrom(m_preferences.value(Preferences::quality));
}

void GeneralSettingsPage::setQuality(Quality quality)
{
    m_preferences.setValue(Preferences::quality, quality.rawValue());
}

Theme GeneralSettingsPage::theme() const
{
    return StartupPreferences::themeFrom(m_preferences.value(Preferences::theme));
}

void GeneralSettingsPage::setTheme(Theme theme)
{
    m_preferences.setValue(Preferences::theme, themeRawValue(theme));
}

Surface GeneralSettingsPage::surface() const
{
    const auto raw = text(m_preferences.value(Preferences::surface));
    return raw ? surfaceFromRawValue(*raw).value_or(Surface::solid) : Surface::solid;
}

void GeneralSettingsPage::setSurface(Surface surface)
{
    m_preferences.setValue(Preferences::surface, surfaceRawValue(surface));
}

void GeneralSettingsPage::setLanguage(AppLanguage language)
{
    if (language == m_language)
        return;
    m_language = language;
    m_language.apply(m_preferences);
    emit languageChanged();
}

bool GeneralSettingsPage::showsRelaunch() const
{
    return m_language.needsRelaunch(m_environment.systemLanguages(), m_environment.languageInUse());
}

void GeneralSettingsPage::relaunch()
{
    m_environment.relaunch();
}

QString GeneralSettingsPage::abbreviated(const QString &path, const QString &home)
{
    QString base = home;
    while (base.size() > 1 && base.endsWith(u'/'))
        base.chop(1);
    if (base.isEmpty() || base == u"/")
        return path;
    if (path == base)
        return QStringLiteral("~");
    if (path.startsWith(base) && path.at(base.size()) == u'/')
        return u'~' + path.mid(base.size());
    return path;
}

QString GeneralSettingsPage::folderText() const
{
    return abbreviated(m_curator.localMedia().folder().root().toLocalFile(), m_environment.homePath());
}

void GeneralSettingsPage::showFolder()
{
    // A folder that does not exist simply opens nothing.
    m_environment.openFolder(m_curator.localMedia().folder().root().qurl());
}

}  // namespace sw::app
