#pragma once

// The general settings drawn: three sections (language, appearance, downloads) of rows built
// from the design system's controls. It shows the page's values and hands every choice to the
// page; it keeps no state of its own.

#include <QWidget>

namespace sw {
class GlassButton;
class GlassPicker;
class GlassSegments;
class SettingsRow;
class SettingsSwitch;
}

namespace sw::app {

class GeneralSettingsPage;

class GeneralSettingsView final : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSettingsView(GeneralSettingsPage &page, QWidget *parent = nullptr);

    GlassPicker &languagePicker() const { return *m_language; }
    GlassButton &relaunchButton() const { return *m_relaunch; }
    GlassSegments &themeSegments() const { return *m_theme; }
    GlassSegments &surfaceSegments() const { return *m_surface; }
    SettingsSwitch &downloadsSwitch() const { return *m_downloads; }
    GlassPicker &qualityPicker() const { return *m_quality; }
    GlassPicker &limitPicker() const { return *m_limit; }
    SettingsRow &folderRow() const { return *m_folderRow; }
    GlassButton &folderButton() const { return *m_folderButton; }

private:
    void refresh();

    GeneralSettingsPage &m_page;
    GlassPicker *m_language = nullptr;
    GlassButton *m_relaunch = nullptr;
    GlassSegments *m_theme = nullptr;
    GlassSegments *m_surface = nullptr;
    SettingsSwitch *m_downloads = nullptr;
    GlassPicker *m_quality = nullptr;
    GlassPicker *m_limit = nullptr;
    SettingsRow *m_folderRow = nullptr;
    GlassButton *m_folderButton = nullptr;
};

}  // namespace sw::app
