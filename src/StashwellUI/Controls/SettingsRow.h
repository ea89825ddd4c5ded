#pragma once

// The lines the settings pages are made of.
//
// SettingsLine: the frame of any line: as wide as it is given, at least 32 high, content on the
// leading side and centred vertically, with 8 above and below, so never lower than 48.
//
// SettingsRow: a setting's name (wrapping, no line limit) with an optional one-line detail under
// it (shortened in the middle), and the setting's control at the trailing edge; between them the
// row's 12 spacing, a spacer of at least 12 and 12 again.
//
// InsetField: the look of the text fields of the network settings page: monospaced text 12 in
// from each side of a faint rounded field with a firm border, exactly 32 high.

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

namespace sw {

class SettingsLine : public QWidget {
    Q_OBJECT
public:
    static constexpr double minimumContentHeight = 32;
    static constexpr double verticalPadding = 8;

    explicit SettingsLine(QWidget *content = nullptr, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    // The line takes the widget as its child; an earlier content is deleted.
    void setContent(QWidget *content);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    QPointer<QWidget> m_content;
    void place();
};

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

class InsetField : public QLineEdit {
    Q_OBJECT
public:
    static constexpr double controlHeight = 32;
    static constexpr double sidePadding = 12;
    static constexpr double radius = 10;

    explicit InsetField(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyTheme();
};

}  // namespace sw
