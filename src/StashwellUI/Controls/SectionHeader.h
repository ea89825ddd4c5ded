#pragma once

// The title line of a section: a bold title, an optional small monospaced detail on the same
// baseline, and at the trailing end an optional text button. The button shows only when both
// its title and its action are given; pressing it runs the action.

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

namespace sw {

class TextButton;

class SectionHeader : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 8;
    static constexpr double topPadding = 8;

    explicit SectionHeader(const QString &title = QString(), QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    std::optional<QString> detail() const { return m_detail; }
    void setDetail(const std::optional<QString> &detail);
    std::optional<QString> actionTitle() const { return m_actionTitle; }
    void setActionTitle(const std::optional<QString> &title);
    // Empty: no action.
    void setAction(std::function<void()> action);
    bool hasAction() const { return static_cast<bool>(m_action); }

    // The trailing button while it shows, else null.
    TextButton *actionButton() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_title;
    std::optional<QString> m_detail;
    std::optional<QString> m_actionTitle;
    std::function<void()> m_action;
    TextButton *m_button = nullptr;

    void syncButton();
    void placeButton();
    double baseline() const;
};

}  // namespace sw
