#pragma once

// A borderless button that is just its title in the accent ink (the trailing action of a section
// header, the download-missing line of the storage meter). The press is clicked().

#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Design/Tokens.h"

#include <QString>

namespace sw {

class TextButton : public Pressable {
    Q_OBJECT
public:
    explicit TextButton(const QString &title = QString(), Tokens::TypeStyle style = Tokens::Typography::bodyStrong,
                        QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    Tokens::TypeStyle typeStyle() const { return m_style; }
    void setTypeStyle(Tokens::TypeStyle style);

    // The distance from the top of the button to its text's baseline.
    double baseline() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QString accessibleText() const override { return m_title; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
    QString keptLook() const override;

private:
    QString m_title;
    Tokens::TypeStyle m_style;
};

}  // namespace sw
