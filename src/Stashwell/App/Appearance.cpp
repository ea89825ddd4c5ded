#include "Stashwell/App/Appearance.h"

#include "Stashwell/App/SystemColorScheme.h"
#include "StashwellUI/Design/ScrollBarStyle.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>

namespace sw::app {

QPalette palette(sw::Appearance appearance)
{
    const auto colour = [appearance](const char *name) {
        return sw::Tokens::Colors::token(QString::fromLatin1(name), appearance).value_or(QColor());
    };
    const QColor window = colour("window");
    const QColor text = colour("text");
    const QColor field = colour("field");
    const QColor panel = colour("panel");
    const QColor muted = colour("muted");
    const QColor line = colour("line");
    const QColor lineStrong = colour("lineStrong");

    QPalette p;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor ink = disabled ? muted : text;
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, ink);
        p.setColor(group, QPalette::Base, field);
        p.setColor(group, QPalette::AlternateBase, panel);
        p.setColor(group, QPalette::Text, ink);
        p.setColor(group, QPalette::Button, panel);
        p.setColor(group, QPalette::ButtonText, ink);
        p.setColor(group, QPalette::BrightText, colour("danger"));
        p.setColor(group, QPalette::ToolTipBase, colour("card"));
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::PlaceholderText, muted);
        p.setColor(group, QPalette::Highlight, disabled ? lineStrong : colour("accent"));
        p.setColor(group, QPalette::HighlightedText, disabled ? muted : colour("onAccent"));
        p.setColor(group, QPalette::Link, colour("accentInk"));
        p.setColor(group, QPalette::LinkVisited, colour("accentInk"));
        p.setColor(group, QPalette::Light, colour("hover"));
        p.setColor(group, QPalette::Midlight, line);
        p.setColor(group, QPalette::Mid, lineStrong);
        p.setColor(group, QPalette::Dark, colour("lineStronger"));
        p.setColor(group, QPalette::Shadow, QColor(0, 0, 0, appearance == sw::Appearance::dark ? 160 : 60));
    }
    return p;
}

ThemeSwitch::ThemeSwitch(SystemColorScheme &scheme, QObject *parent) : QObject(parent), m_scheme(&scheme)
{
    connect(&scheme, &SystemColorScheme::changed, this, [this] {
        if (m_theme == Theme::system)
            putInForce(resolve(Theme::system));
    });
}

sw::Appearance ThemeSwitch::resolve(Theme theme) const
{
    switch (theme) {
    case Theme::light: return sw::Appearance::light;
    case Theme::dark: return sw::Appearance::dark;
    case Theme::system: break;
    }
    return m_scheme ? m_scheme->appearance() : sw::Appearance::light;
}

void ThemeSwitch::apply(Theme theme)
{
    m_theme = theme;
    putInForce(resolve(theme));
}

void ThemeSwitch::putInForce(sw::Appearance appearance)
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        // The palettes are drawn for Fusion (other styles take colours from the desktop instead),
        // which the application's scroll bar style wraps.
        sw::ScrollBarStyle::install();
        QApplication::setPalette(palette(appearance));
    }
    sw::Theme::instance().setAppearance(appearance);
}

}  // namespace sw::app
