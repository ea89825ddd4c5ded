#include "StashwellUI/Design/Theme.h"

#include <QGuiApplication>
#include <QPalette>

namespace sw {

QString surfaceRawValue(Surface surface)
{
    switch (surface) {
    case Surface::solid: return QStringLiteral("solid");
    case Surface::glass: return QStringLiteral("glass");
    }
    return QStringLiteral("solid");
}

std::optional<Surface> surfaceFromRawValue(QStringView raw)
{
    for (Surface surface : allSurfaces) {
        if (raw == surfaceRawValue(surface))
            return surface;
    }
    return std::nullopt;
}

Theme &Theme::instance()
{
    static Theme *theme = new Theme;   // never destroyed: views may read it while the process ends
    return *theme;
}

void Theme::setAppearance(Appearance appearance)
{
    if (appearance == m_appearance)
        return;
    m_appearance = appearance;
    emit appearanceChanged(appearance);
    emit changed();
}

void Theme::setSurface(Surface surface)
{
    if (surface == m_surface)
        return;
    m_surface = surface;
    emit surfaceChanged(surface);
    emit changed();
}

Appearance Theme::systemAppearance()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return Appearance::light;
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness()
        ? Appearance::dark
        : Appearance::light;
}

}  // namespace sw
