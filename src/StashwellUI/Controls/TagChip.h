#pragma once

// One of a save's tags as a small capsule reading "#" and the name, with a small remove button
// when the owner gives a remove action. Pressing that button runs the action; the chip decides
// nothing about the tag.

#include "StashwellUI/Controls/Pressable.h"

#include <QString>
#include <QWidget>

#include <functional>

namespace sw {

class TagChip : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 4;
    static constexpr double horizontalPadding = 10;
    static constexpr double verticalPadding = 4;
    static constexpr double removeSymbolSize = 8;

    explicit TagChip(const QString &name = QString(), QWidget *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    // Empty: no remove button.
    void setOnRemove(std::function<void()> onRemove);
    bool isRemovable() const { return static_cast<bool>(m_onRemove); }

    // "#" and the name.
    static QString shownText(const QString &name);
    // The remove button while there is one, else null.
    Pressable *removeButton() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_name;
    std::function<void()> m_onRemove;
    Pressable *m_remove = nullptr;

    void place();
};

}  // namespace sw
