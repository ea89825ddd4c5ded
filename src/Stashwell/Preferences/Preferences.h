#pragma once

// The user's preferences: one JSON file in the configuration folder ("~/.config/Stashwell/
// preferences.json"), read through QSettings with the JSON format so that every value keeps its
// kind. The object reports each change with a signal of its own per key, emitted only when the
// stored value differs (by kind and value), so observers act on real changes only.
//
// Only the main thread uses it. Every write reaches the file at once (an atomic replace), so an
// interrupted process loses nothing that was set.

#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

namespace sw::app {

class Preferences final : public QObject {
    Q_OBJECT
public:
    // The keys.
    static inline const QString theme = QStringLiteral("theme");
    static inline const QString surface = QStringLiteral("surface");
    static inline const QString settingsTab = QStringLiteral("settingsTab");
    static inline const QString downloadsOnSave = QStringLiteral("downloadsOnSave");
    static inline const QString mediaLimitGB = QStringLiteral("mediaLimitGB");
    static inline const QString quality = QStringLiteral("quality");
    static inline const QString networkRoute = QStringLiteral("networkRoute");
    // The interface language chosen in the settings: a list holding one language code; absent
    // while the interface follows the system's language.
    static inline const QString languages = QStringLiteral("languages");

    // The preferences kept in that file (made, with its folder, on the first write).
    explicit Preferences(const QString &filePath, QObject *parent = nullptr);
    ~Preferences() override;

    // "preferences.json" in the "Stashwell" folder of the user's configuration folder.
    static QString standardFilePath();

    QString filePath() const;

    // The value as stored, with its kind; invalid when the key is missing.
    QVariant value(const QString &key) const;
    bool contains(const QString &key) const;
    // Stores the value and writes the file. Notifies when the key was missing or held a value of
    // another kind or another value. An invalid value removes the key.
    void setValue(const QString &key, const QVariant &value);
    void remove(const QString &key);

    // Whether the last read or write of the file failed (an unreadable file reads as empty).
    bool hasFileError() const;

    // The same kind and the same value; whole numbers of different integer kinds are the same.
    static bool sameValue(const QVariant &a, const QVariant &b);

signals:
    // Any key, then the key's own signal.
    void valueChanged(const QString &key);
    void themeChanged();
    void surfaceChanged();
    void settingsTabChanged();
    void downloadsOnSaveChanged();
    void mediaLimitGBChanged();
    void qualityChanged();
    void networkRouteChanged();
    void languagesChanged();

private:
    void notify(const QString &key);

    std::unique_ptr<QSettings> m_settings;
};

}  // namespace sw::app
