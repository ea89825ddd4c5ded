#pragma once

// The text button on glass of the settings pages and the quick-save popover.

#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Design/Tone.h"

#include <QString>

namespace sw {

// An optional symbol and a title on a glass capsule, 32 high and as wide as its content plus 14
// on each side. The accent tone fills the capsule with the accent colour and draws the label in
// the colour made for it; the other tones give clear glass with the ordinary text colour. Drawn
// at 0.45 opacity while disabled. The press is clicked().
class GlassButton : public Pressable {
    Q_OBJECT
public:
    static constexpr double controlHeight = 32;
    static constexpr double sidePadding = 14;
    static constexpr double disabledOpacity = 0.45;

    explicit GlassButton(QWidget *parent = nullptr);
    GlassButton(const QString &title, const QString &symbol, Tone tone, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    // Empty: no symbol.
    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);
    Tone tone() const { return m_tone; }
    void setTone(Tone tone);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QString accessibleText() const override { return m_title; }

    // The label's colour for a tone: the colour for text on the accent fill, or the text colour.
    static QColor foreground(Tone tone);

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
    QString keptLook() const override;

private:
    QString m_title;
    QString m_symbol;
    Tone m_tone = Tone::neutral;
};

}  // namespace sw
