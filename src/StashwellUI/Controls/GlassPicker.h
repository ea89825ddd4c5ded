#pragma once

// The pop-up picker on glass.

#include "StashwellUI/Controls/Pressable.h"

#include <QList>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QVariant>

namespace sw {

// The current choice in a glass capsule with an up-and-down chevron; a press opens a menu of
// every option's title. Choosing an item emits chosen() with its value (also when it is the
// current one) and takes it as the selection. The label names the setting for assistive
// technologies only; it is never drawn. Its size is its content's.
class GlassPicker : public Pressable {
    Q_OBJECT
public:
    struct Option {
        QVariant value;
        QString title;
        friend bool operator==(const Option &, const Option &) = default;
    };

    static constexpr double controlHeight = 32;

    explicit GlassPicker(QWidget *parent = nullptr);
    GlassPicker(const QString &label, const QList<Option> &options, QWidget *parent = nullptr);

    QString label() const { return m_label; }
    void setLabel(const QString &label);
    QList<Option> options() const { return m_options; }
    void setOptions(const QList<Option> &options);
    QVariant selection() const { return m_selection; }
    void setSelection(const QVariant &value);

    // The title of the first option whose value is the selection; empty when none is.
    QString currentTitle() const;
    static QString titleFor(const QList<Option> &options, const QVariant &selection);

    // The menu while it is open (or was last opened); null before the first press.
    QMenu *menu() const { return m_menu; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QAccessible::Role accessibleRole() const override { return QAccessible::ComboBox; }
    QString accessibleText() const override { return m_label; }
    QString accessibleValue() const override { return currentTitle(); }

signals:
    void chosen(const QVariant &value);
    void selectionChanged(const QVariant &value);

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;

private:
    QString m_label;
    QList<Option> m_options;
    QVariant m_selection;
    QPointer<QMenu> m_menu;

    void openMenu();
};

}  // namespace sw
