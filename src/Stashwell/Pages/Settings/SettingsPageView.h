#pragma once

// The settings page drawn, 520 wide with its height following the content: the header (the
// application's mark, the title and the General / Network segments) above the view of the shown
// tab, which is made anew whenever the tab changes.

#include <QWidget>

namespace sw {
class GlassSegments;
}

namespace sw::app {

class SettingsPage;

class SettingsPageView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 520;
    static constexpr int kMargin = 16;

    explicit SettingsPageView(SettingsPage &page, QWidget *parent = nullptr);

    GlassSegments &tabSegments() const { return *m_tabs; }
    // The view of the shown tab: a GeneralSettingsView or a NetworkSettingsView.
    QWidget *tabView() const { return m_tabView; }

    QSize sizeHint() const override;

signals:
    // The shown tab's view was replaced; the height the page wants may differ.
    void tabViewChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showTab();

    SettingsPage &m_page;
    GlassSegments *m_tabs = nullptr;
    QWidget *m_tabView = nullptr;
};

}  // namespace sw::app
