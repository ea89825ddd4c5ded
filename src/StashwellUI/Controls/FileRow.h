#pragma once

// One file as a compact line: a symbol in a small square tile, the file's name (one line,
// shortened in the middle so that its start and extension stay) and under it a detail line.
// Display only.

#include <QString>
#include <QWidget>

namespace sw {

class FileRow : public QWidget {
    Q_OBJECT
public:
    static constexpr double tile = 30;
    static constexpr double tileRadius = 8;
    static constexpr double spacing = 10;
    static constexpr double lineSpacing = 1;
    static constexpr double verticalPadding = 4;

    explicit FileRow(const QString &name = QString(), const QString &detail = QString(), const QString &symbol = QString(),
                     QWidget *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    QString detail() const { return m_detail; }
    void setDetail(const QString &detail);
    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);

    // The name as drawn in `width`.
    static QString shownName(const QString &name, double width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    QString m_detail;
    QString m_symbol;

    void textChanged();
};

}  // namespace sw
