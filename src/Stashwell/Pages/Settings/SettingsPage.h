#pragma once

// The settings window's page: a header with the application's mark, the title and the General /
// Network switch, above the page of the chosen tab. The tab is the preference "settingsTab", so
// the settings open where they were left. Only the shown tab's page exists: switching makes the
// other page anew and discards the one left, with its form.

#include "Capture/Url.h"
#include "Stashwell/Pages/Settings/GeneralSettingsPage.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <array>
#include <memory>
#include <optional>

namespace sw {
class Curator;
class Network;
}

namespace sw::app {

class NetworkSettingsPage;
class Preferences;

class SettingsPage final : public QObject {
    Q_OBJECT
public:
    enum class Tab { general, network };
    static constexpr std::array<Tab, 2> allTabs() { return {Tab::general, Tab::network}; }
    // "general" or "network".
    static QString tabRawValue(Tab tab);
    // Exactly one of the raw values (case matters), else none.
    static std::optional<Tab> tabFromRawValue(const QString &raw);
    // The tab a stored value names; general for anything else, a missing value included.
    static Tab tabFrom(const QVariant &value);

    struct Options {
        // The address the connection test asks.
        std::optional<Url> apiBase;
        GeneralSettingsPage::Environment environment;
    };

    SettingsPage(Curator &curator, Network &network, Preferences &preferences, Options options = {},
                 QObject *parent = nullptr);
    ~SettingsPage() override;

    Tab tab() const { return m_tab; }
    // Stores the tab; the page follows the preference.
    void setTab(Tab tab);

    // The page of the shown tab; the other is null.
    GeneralSettingsPage *general() const { return m_general.get(); }
    NetworkSettingsPage *network() const { return m_network.get(); }

signals:
    // A new tab shows, with a new page.
    void tabChanged();

private:
    void follow();
    void makePage();

    Curator &m_curator;
    Network &m_networkCore;
    Preferences &m_preferences;
    Options m_options;
    Tab m_tab = Tab::general;
    std::unique_ptr<GeneralSettingsPage> m_general;
    std::unique_ptr<NetworkSettingsPage> m_network;
};

}  // namespace sw::app
