#pragma once

// The capsule action button of the save views: a symbol and a title in the tone's colour on a
// faint fill of that colour inside a thin border of it, with an optional progress bar along the
// bottom edge. As wide as it is given, at least 32 high; a press anywhere in the capsule counts.
// The press is the clicked() signal.
//
// The painting is also available without a widget (paint(), shape(), progressBar()) for views
// that draw many saves in one widget.

#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Design/Tone.h"

#include <QString>

#include <optional>

namespace sw {

class PillButton : public Pressable {
    Q_OBJECT
public:
    struct Content {
        QString title;                  // already localised
        QString symbol;                 // shown before the title
        Tone tone = Tone::accent;
        std::optional<double> progress; // the fraction done of the work the button stands for
        // Two progress values that are not numbers are the same (nothing changes on screen).
        friend bool operator==(const Content &a, const Content &b);
    };

    static constexpr double minimumHeight = 32;
    static constexpr double barInset = 8;
    static constexpr double barHeight = 3;

    explicit PillButton(QWidget *parent = nullptr);
    PillButton(const QString &title, const QString &symbol, Tone tone, QWidget *parent = nullptr);

    const Content &content() const { return m_content; }
    void setContent(const Content &content);
    QString title() const { return m_content.title; }
    void setTitle(const QString &title);
    QString symbol() const { return m_content.symbol; }
    void setSymbol(const QString &symbol);
    Tone tone() const { return m_content.tone; }
    void setTone(Tone tone);
    std::optional<double> progress() const { return m_content.progress; }
    void setProgress(std::optional<double> progress);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QPainterPath hitShape() const override;
    QString accessibleText() const override { return m_content.title; }
    QString accessibleValue() const override;

    // The natural size of the label (symbol and title).
    static QSizeF labelSize(const Content &content);
    // The capsule that draws the pill and takes its presses.
    static QPainterPath shape(const QRectF &bounds);
    // Where the progress bar is drawn: none without progress; otherwise along the bottom edge,
    // 8 in from each end, 3 high, as long as the fraction of that span, the fraction clamped to
    // 0...1 (a value that is not a number draws nothing).
    static std::optional<QRectF> progressBar(const QRectF &bounds, std::optional<double> progress);
    static void paint(QPainter &painter, const QRectF &bounds, const Content &content, const ControlState &state);

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;

private:
    Content m_content;
};

}  // namespace sw
