#pragma once

// A one-line row of a label at the leading edge and a value pushed to the trailing edge, for
// lists of facts. The value is a text (one line, shortened in the middle) or a widget of the
// caller's; the label always keeps at least 12 from the value.

#include <QPointer>
#include <QString>
#include <QWidget>

namespace sw {

class InfoRow : public QWidget {
    Q_OBJECT
public:
    static constexpr double minimumGap = 12;
    static constexpr double verticalPadding = 10;

    explicit InfoRow(const QString &label = QString(), const QString &value = QString(), QWidget *parent = nullptr);
    // A row whose value is a widget; the row takes it as its child.
    InfoRow(const QString &label, QWidget *value, QWidget *parent = nullptr);

    QString label() const { return m_label; }
    void setLabel(const QString &label);
    QString value() const { return m_value; }
    // A text value; replaces a value widget.
    void setValue(const QString &value);
    QWidget *valueWidget() const { return m_valueWidget; }
    // A widget value: drawn in the body font and text colour unless it sets its own; replaces a
    // text value and deletes an earlier value widget.
    void setValueWidget(QWidget *widget);

    // The value text as drawn in `width`: whole, or its beginning and end around an ellipsis.
    static QString shownValue(const QString &value, double width);
    // The space the value gets in a row of `width`: all but the label and the gap, and never more
    // than the value needs.
    static double valueWidth(const QString &label, double naturalValueWidth, double width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    QString m_label;
    QString m_value;
    QPointer<QWidget> m_valueWidget;

    void placeValue();
    void styleValue();
    double naturalValueWidth() const;
};

}  // namespace sw
