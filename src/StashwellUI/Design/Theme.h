#pragma once

// The look the interface is drawn in right now: the light or dark appearance and the solid or
// glass window surface. Both can change while the application runs (the settings change them,
// the gallery tests flip them), so views read them when they paint rather than when they are built.

#include <QObject>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace sw {

// Which set of the named colours is in force.
enum class Appearance { light, dark };

// The window surface chosen in the settings: opaque panes, or a translucent window whose wells and
// panes let the desktop through.
enum class Surface { solid, glass };

inline constexpr std::array<Surface, 2> allSurfaces{Surface::solid, Surface::glass};

// "solid" or "glass": the form stored under the preference "surface".
QString surfaceRawValue(Surface surface);
// The surface with exactly that raw value (case-sensitive), or none.
std::optional<Surface> surfaceFromRawValue(QStringView raw);

// The process-wide record of the current appearance and surface. Lives on the main thread.
class Theme : public QObject {
    Q_OBJECT
public:
    static Theme &instance();

    Appearance appearance() const { return m_appearance; }
    void setAppearance(Appearance appearance);

    Surface surface() const { return m_surface; }
    void setSurface(Surface surface);

    // A guess at the desktop's own appearance from the application palette (dark when the
    // window colour is darker than its text); light when there is no GUI application.
    static Appearance systemAppearance();

    // Shorthands for the current values.
    static Appearance currentAppearance() { return instance().appearance(); }
    static Surface currentSurface() { return instance().surface(); }
    static bool isDark() { return currentAppearance() == Appearance::dark; }
    static bool isGlass() { return currentSurface() == Surface::glass; }

signals:
    void appearanceChanged(sw::Appearance appearance);
    void surfaceChanged(sw::Surface surface);
    // Either of the two changed: views repaint.
    void changed();

private:
    Theme() = default;

    Appearance m_appearance = Appearance::light;
    Surface m_surface = Surface::solid;
};

}  // namespace sw
