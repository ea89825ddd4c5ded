#pragma once

// The two atoms a save's tags are shown and extended with.
//
// TagChip: one tag as a small capsule reading "#" and the name, with a small remove button when
// the owner gives a remove action. Pressing that button runs the action; the chip decides
// nothing about the tag.
//
// AddTagField: the small dashed-capsule field the user types a new tag into. Return emits
// submitted(), empty text included; the field neither trims, checks nor clears the text: the
// owner reads text() and decides.

#include "StashwellUI/Controls/Pressable.h"

#include <QLineEdit>
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

class AddTagField : public QLineEdit {
    Q_OBJECT
public:
    static constexpr double fieldWidth = 72;
    static constexpr double horizontalPadding = 10;
    static constexpr double verticalPadding = 4;

    explicit AddTagField(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void submitted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyTheme();
};

}  // namespace sw
