#pragma once

// A line of the settings pages: a setting's name (wrapping, no line limit) with an optional
// one-line detail under it (shortened in the middle), and the setting's control at the trailing
// edge; between them the row's 12 spacing, a spacer of at least 12 and 12 again. It keeps the
// height rules of SettingsLine.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

namespace sw {

class SettingsRow : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 12;
    static constexpr double minimumSpacer = 12;
    static constexpr double textSpacing = 2;

    explicit SettingsRow(const QString &label = QString(), const std::optional<QString> &detail = std::nullopt,
                         QWidget *control = nullptr, QWidget *parent = nullptr);

    QString label() const { return m_label; }
    void setLabel(const QString &label);
    std::optional<QString> detail() const { return m_detail; }
    void setDetail(const std::optional<QString> &detail);
    QWidget *control() const { return m_control; }
    // The row takes the widget as its child; an earlier control is deleted.
    void setControl(QWidget *control);

    // The width left to the text column in a row of `width`.
    double textWidth(double width) const;
    // The detail as drawn in `width`: one line, shortened in the middle.
    static QString shownDetail(const QString &detail, double width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    QString m_label;
    std::optional<QString> m_detail;
    QPointer<QWidget> m_control;

    QSizeF textColumnSize(double width) const;
    QSize controlSize() const;
    void place();
};

}  // namespace sw
