#pragma once

// The general settings: the interface language, the appearance (theme and the library window's
// surface) and the downloads (on save, the video quality, the media limit and the media folder).
//
// Five values are preferences, read from the preferences each time they are asked for, so a
// change made elsewhere shows at once; the controls write them. The download settings also reach
// the Curator, but only when their value changes after the page was made: opening the page calls
// nothing on the Curator. The theme and the surface are only written; the shell and the library
// window follow their preferences. The language is the page's own state, read from the stored
// choice when the page is made and written back on every change.

#include "Capture/Post.h"
#include "Stashwell/Preferences/AppLanguage.h"
#include "Stashwell/Preferences/ThemeChoice.h"
#include "StashwellUI/Design/Theme.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace sw {
class Curator;
}

namespace sw::app {

class Preferences;

class GeneralSettingsPage final : public QObject {
    Q_OBJECT
public:
    // What the page asks of the desktop and the running process. The desktop's have the real one
    // by default; the running process's are the application's to hand in.
    struct Environment {
        // The system's interface languages, in order of preference.
        std::function<QStringList()> systemLanguages;
        // The table language this process shows; without it none is known, which differs from
        // every choice.
        std::function<QString()> languageInUse;
        // Starts the application anew and ends this process; without it, nothing happens.
        std::function<void()> relaunch;
        // Opens a folder in the file manager.
        std::function<void(const QUrl &)> openFolder;
        // The user's home folder.
        std::function<QString()> homePath;

        // Every missing entry filled with the real one.
        Environment completed() const;
    };

    static constexpr int kDefaultLimit = 5;
    // The media limits offered, in whole gibibytes.
    static constexpr std::array<int, 5> limitOptions{1, 5, 10, 20, 50};

    GeneralSettingsPage(Curator &curator, Preferences &preferences, Environment environment = {},
                        QObject *parent = nullptr);
    ~GeneralSettingsPage() override;

    // The preferences, each with its default for a missing or unusable value.
    bool downloadsOnSave() const;
    void setDownloadsOnSave(bool on);
    // Whole gibibytes; a stored number whose byte count does not fit reads as the default.
    std::int64_t limit() const;
    void setLimit(std::int64_t gibibytes);
    Quality quality() const;
    void setQuality(Quality quality);
    Theme theme() const;
    void setTheme(Theme theme);
    Surface surface() const;
    void setSurface(Surface surface);

    AppLanguage language() const { return m_language; }
    // Writes the choice at once.
    void setLanguage(AppLanguage language);
    // Whether the Relaunch button shows: the running interface differs from the chosen language.
    bool showsRelaunch() const;
    void relaunch();

    // The media folder as shown: its path, with a leading home folder written "~".
    QString folderText() const;
    void showFolder();

    // A path with a leading `home` (the whole folder, not a name that merely begins like it)
    // written "~"; any other path unchanged.
    static QString abbreviated(const QString &path, const QString &home);
    // The byte count of a limit, or none when it does not fit a signed 64-bit number.
    static std::optional<std::int64_t> limitBytes(std::int64_t gibibytes);

signals:
    void downloadsOnSaveChanged();
    void limitChanged();
    void qualityChanged();
    void themeChanged();
    void surfaceChanged();
    void languageChanged();
    // The media folder changed.
    void folderChanged();

private:
    void observe();

    Curator &m_curator;
    Preferences &m_preferences;
    Environment m_environment;
    AppLanguage m_language;
    // The last values the observers saw.
    bool m_seenDownloadsOnSave = true;
    std::optional<std::int64_t> m_seenLimitBytes;
    Quality m_seenQuality;
};

}  // namespace sw::app
