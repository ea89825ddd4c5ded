#include "Stashwell/Pages/Settings/SettingsPage.h"

#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"
#include "Stashwell/Preferences/Preferences.h"

namespace sw::app {

QString SettingsPage::tabRawValue(Tab tab)
{
    return tab == Tab::network ? QStringLiteral("network") : QStringLiteral("general");
}

std::optional<SettingsPage::Tab> SettingsPage::tabFromRawValue(const QString &raw)
{
    for (Tab tab : allTabs()) {
        if (raw == tabRawValue(tab))
            return tab;
    }
    return std::nullopt;
}

SettingsPage::Tab SettingsPage::tabFrom(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return Tab::general;
    return tabFromRawValue(value.toString()).value_or(Tab::general);
}

SettingsPage::SettingsPage(Curator &curator, Network &network, Preferences &preferences, Options options,
                           QObject *parent)
    : QObject(parent), m_curator(curator), m_networkCore(network), m_preferences(preferences),
      m_options(std::move(options)), m_tab(tabFrom(preferences.value(Preferences::settingsTab)))
{
    makePage();
    connect(&m_preferences, &Preferences::settingsTabChanged, this, &SettingsPage::follow);
}

SettingsPage::~SettingsPage() = default;

void SettingsPage::setTab(Tab tab)
{
    m_preferences.setValue(Preferences::settingsTab, tabRawValue(tab));
}

void SettingsPage::follow()
{
    const Tab tab = tabFrom(m_preferences.value(Preferences::settingsTab));
    if (tab == m_tab)
        return;
    m_tab = tab;
    makePage();
    emit tabChanged();
}

void SettingsPage::makePage()
{
    m_general.reset();
    m_network.reset();
    if (m_tab == Tab::general) {
        m_general = std::make_unique<GeneralSettingsPage>(m_curator, m_preferences, m_options.environment);
    } else if (m_options.apiBase) {
        m_network = std::make_unique<NetworkSettingsPage>(m_networkCore, m_preferences, *m_options.apiBase);
    } else {
        m_network = std::make_unique<NetworkSettingsPage>(m_networkCore, m_preferences);
    }
}

}  // namespace sw::app
