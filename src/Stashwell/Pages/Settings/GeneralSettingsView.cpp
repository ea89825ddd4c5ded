#include "Stashwell/Pages/Settings/GeneralSettingsView.h"

#include "Stashwell/Pages/Settings/GeneralSettingsPage.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassPicker.h"
#include "StashwellUI/Controls/GlassSegments.h"
#include "StashwellUI/Controls/SettingsRow.h"
#include "StashwellUI/Settings/SettingsSection.h"
#include "StashwellUI/Settings/SettingsSwitch.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace sw::app {

namespace {

using S = StashwellStrings;

// The language names are the same in every interface language; only the system's is translated.
QString languageTitle(AppLanguage language)
{
    switch (AppLanguage::Value(language)) {
    case AppLanguage::system: return S::settingsLanguageSystem();
    case AppLanguage::english: return QStringLiteral("English");
    case AppLanguage::japanese: return QStringLiteral("日本語");
    case AppLanguage::korean: return QStringLiteral("한국어");
    case AppLanguage::simplifiedChinese: return QStringLiteral("简体中文");
    }
    return QString();
}

QWidget *controls(std::initializer_list<QWidget *> widgets)
{
    auto *box = new QWidget;
    box->setAttribute(Qt::WA_TranslucentBackground);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    for (QWidget *widget : widgets)
        row->addWidget(widget);
    return box;
}

}  // namespace

GeneralSettingsView::GeneralSettingsView(GeneralSettingsPage &page, QWidget *parent) : QWidget(parent), m_page(page)
{
    setAttribute(Qt::WA_TranslucentBackground);

    // Language.
    QList<GlassPicker::Option> languages;
    for (AppLanguage language : AppLanguage::allCases())
        languages.append({int(AppLanguage::Value(language)), languageTitle(language)});
    m_language = new GlassPicker(S::settingsLanguage(), languages);
    m_relaunch = new GlassButton(S::settingsRelaunch(), QString(), Tone::accent);
    auto *languageRow = new SettingsRow(S::settingsLanguage(), std::nullopt, controls({m_relaunch, m_language}));
    connect(m_language, &GlassPicker::chosen, this,
            [this](const QVariant &value) { m_page.setLanguage(AppLanguage(AppLanguage::Value(value.toInt()))); });
    connect(m_relaunch, &GlassButton::clicked, this, [this] { m_page.relaunch(); });

    // Appearance.
    m_theme = new GlassSegments({{int(Theme::system), S::settingsThemeSystem(), QString()},
                                 {int(Theme::light), S::settingsThemeLight(), QString()},
                                 {int(Theme::dark), S::settingsThemeDark(), QString()}},
                                false);
    m_surface = new GlassSegments({{int(Surface::solid), S::settingsSolid(), QString()},
                                   {int(Surface::glass), S::settingsGlass(), QString()}},
                                  false);
    connect(m_theme, &GlassSegments::chosen, this, [this](const QVariant &value) { m_page.setTheme(Theme(value.toInt())); });
    connect(m_surface, &GlassSegments::chosen, this,
            [this](const QVariant &value) { m_page.setSurface(Surface(value.toInt())); });

    // Downloads.
    m_downloads = new SettingsSwitch(S::settingsDownloadOnSave());
    connect(m_downloads, &SettingsSwitch::clicked, this, [this](bool on) { m_page.setDownloadsOnSave(on); });
    QList<GlassPicker::Option> qualities;
    for (Quality quality : Quality::allCases())
        qualities.append({int(Quality::Value(quality)), quality.title()});
    m_quality = new GlassPicker(S::settingsVideoQuality(), qualities);
    connect(m_quality, &GlassPicker::chosen, this,
            [this](const QVariant &value) { m_page.setQuality(Quality(Quality::Value(value.toInt()))); });
    QList<GlassPicker::Option> limits;
    for (int gibibytes : GeneralSettingsPage::limitOptions)
        limits.append({qint64(gibibytes), QString::number(gibibytes) + QStringLiteral(" GB")});
    m_limit = new GlassPicker(S::settingsMediaLimit(), limits);
    connect(m_limit, &GlassPicker::chosen, this, [this](const QVariant &value) { m_page.setLimit(value.toLongLong()); });
    m_folderButton = new GlassButton(S::settingsShowInFileManager(), QStringLiteral("folder"), Tone::neutral);
    connect(m_folderButton, &GlassButton::clicked, this, [this] { m_page.showFolder(); });
    m_folderRow = new SettingsRow(S::settingsMediaFolder(), m_page.folderText(), m_folderButton);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(16);
    column->addWidget(new SettingsSection(S::settingsLanguage(), S::settingsLanguageNote(), {languageRow}));
    column->addWidget(new SettingsSection(S::settingsAppearance(), S::settingsAppearanceNote(),
                                          {new SettingsRow(S::settingsTheme(), std::nullopt, m_theme),
                                           new SettingsRow(S::settingsLibraryWindow(), std::nullopt, m_surface)}));
    column->addWidget(new SettingsSection(S::settingsDownloads(), S::settingsDownloadsNote(),
                                          {new SettingsRow(S::settingsDownloadOnSave(), std::nullopt, m_downloads),
                                           new SettingsRow(S::settingsVideoQuality(), std::nullopt, m_quality),
                                           new SettingsRow(S::settingsMediaLimit(), std::nullopt, m_limit),
                                           m_folderRow}));

    for (auto signal : {&GeneralSettingsPage::downloadsOnSaveChanged, &GeneralSettingsPage::limitChanged,
                        &GeneralSettingsPage::qualityChanged, &GeneralSettingsPage::themeChanged,
                        &GeneralSettingsPage::surfaceChanged, &GeneralSettingsPage::languageChanged,
                        &GeneralSettingsPage::folderChanged})
        connect(&m_page, signal, this, &GeneralSettingsView::refresh);
    refresh();
}

void GeneralSettingsView::refresh()
{
    m_language->setSelection(int(AppLanguage::Value(m_page.language())));
    m_relaunch->setVisible(m_page.showsRelaunch());
    m_theme->setSelection(int(m_page.theme()));
    m_surface->setSelection(int(m_page.surface()));
    m_downloads->setChecked(m_page.downloadsOnSave());
    m_quality->setSelection(int(Quality::Value(m_page.quality())));
    m_limit->setSelection(qint64(m_page.limit()));
    m_folderRow->setDetail(m_page.folderText());
}

}  // namespace sw::app
