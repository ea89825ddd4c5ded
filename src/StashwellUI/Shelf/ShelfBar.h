#pragma once

// The bar across the top of the shelf, in one row: what the shelf shows (a title over a subtitle,
// both shown as given and cut on one line), a slot for a view of the page's own, the switch between
// cards and rows, the search field and the Save Link button, each control on glass.
//
// The bar owns no data. The layout and the search text are the page's: the bar shows what it is
// given and reports every choice (layoutChosen() also when the option is the current one, the
// search field's every change, its focus) and every click of Save Link. The search field's focus
// is the page's too: setSearchFocused() hands it on, and the bar never moves focus by itself.

#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Shelf/ShelfLayout.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace sw {

class GlassButton;
class SearchField;

// One option of the layout switch: its symbol on a capsule, filled with the accent while it is the
// current layout; read out under the texts of the keys shelf.grid and shelf.list, the current one
// selected.
class ShelfLayoutOption : public Pressable {
    Q_OBJECT
public:
    static constexpr double optionWidth = 34;
    static constexpr double optionHeight = 26;
    static constexpr double symbolSize = 13;

    ShelfLayoutOption(ShelfLayout layout, QWidget *parent = nullptr);

    ShelfLayout layout() const { return m_layout; }
    bool isCurrent() const { return m_current; }
    void setCurrent(bool current);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QString accessibleText() const override;
    bool isAccessiblySelectable() const override { return true; }
    bool isAccessiblySelected() const override { return m_current; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
    QString keptLook() const override;

private:
    ShelfLayout m_layout;
    bool m_current = false;
};

// Both layouts side by side on a glass capsule.
class ShelfLayoutSwitch : public QWidget {
    Q_OBJECT
public:
    static constexpr double inset = 3;
    static constexpr double gap = 2;

    explicit ShelfLayoutSwitch(QWidget *parent = nullptr);

    ShelfLayout current() const { return m_current; }
    void setCurrent(ShelfLayout layout);
    // The options, in the order of the layouts (grid, then list).
    const QList<ShelfLayoutOption *> &options() const { return m_options; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // An option was activated, also the current one.
    void chosen(sw::ShelfLayout layout);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ShelfLayout m_current = ShelfLayout::grid;
    QList<ShelfLayoutOption *> m_options;
};

class ShelfBar : public QWidget {
    Q_OBJECT
public:
    static constexpr double barHeight = 52;
    static constexpr double sidePadding = 16;
    static constexpr double spacing = 8;
    static constexpr double titleGap = 16;      // the least room after the title block
    static constexpr double titleSpacing = 1;   // between the title and the subtitle
    static constexpr double searchRadius = 10;

    explicit ShelfBar(QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QString subtitle() const { return m_subtitle; }
    void setSubtitle(const QString &subtitle);

    ShelfLayout shelfLayout() const;
    void setShelfLayout(ShelfLayout layout);

    QString query() const;
    void setQuery(const QString &query);
    // The search field's keyboard focus, as the page's focus state hands it on.
    bool isSearchFocused() const;
    void setSearchFocused(bool focused);

    // The page's own view, between the title block and the layout switch (none: nothing there).
    // The bar shows it; its owner keeps it.
    QWidget *trailing() const { return m_trailing; }
    void setTrailing(QWidget *trailing);

    ShelfLayoutSwitch &layoutSwitch() const { return *m_switch; }
    SearchField &searchField() const { return *m_search; }
    GlassButton &saveLinkButton() const { return *m_saveLink; }

    // The title and subtitle as they fit, and where the title block stands.
    QRectF titleRect() const;
    QString shownTitle() const;
    QString shownSubtitle() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void layoutChosen(sw::ShelfLayout layout);
    void queryChanged(const QString &query);
    void searchFocusChanged(bool focused);
    void saveLinkRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    void place();
    void updateTitle(const QRectF &before);
    static QRect titleArea(const QRectF &block);
    double controlsWidth(double searchWidth) const;
    QSizeF titleSize() const;

    QString m_title;
    QString m_subtitle;
    ShelfLayoutSwitch *m_switch = nullptr;
    SearchField *m_search = nullptr;
    GlassButton *m_saveLink = nullptr;
    QPointer<QWidget> m_trailing;
};

}  // namespace sw
