#pragma once

// A keyboard shortcut drawn as a small key: the whole shortcut text ("Ctrl+V") in one cap, in the
// monospaced face on a card-coloured rounded rectangle with a firm border inside its edge. As big
// as its text plus 6 on each side and 2 above and below.
//
// Every key cap of the interface takes its text from one table (KeyCap::text of a Keys), so the
// same shortcut reads the same wherever it is named, written as this platform writes it.

#include <QKeySequence>
#include <QString>
#include <QWidget>

namespace sw {

class KeyCap : public QWidget {
    Q_OBJECT
public:
    // The shortcuts the interface names on key caps.
    enum class Keys {
        paste,      // Ctrl+V: save the link on the clipboard
        find,       // Ctrl+F: search
        saveLink,   // Ctrl+L: the Save Link sheet
        hotKey,     // Ctrl+Alt+D: quick save from anywhere
        move,       // the four arrows: move through the shelf
        open,       // Return: open the chosen save
        trash,      // Delete (Backspace too): move the chosen saves to the trash
    };

    static constexpr double horizontalPadding = 6;
    static constexpr double verticalPadding = 2;
    static constexpr double radius = 5;

    explicit KeyCap(const QString &keys = QString(), QWidget *parent = nullptr);
    explicit KeyCap(Keys keys, QWidget *parent = nullptr);

    QString keys() const { return m_keys; }
    void setKeys(const QString &keys);

    // The text a shortcut shows on this platform ("Ctrl+V"; never the command sign).
    static QString text(const QKeySequence &shortcut);
    // The one table: "Ctrl+V", "Ctrl+F", "Ctrl+L", "Ctrl+Alt+D", "←→↑↓", "↵", "Del".
    static QString text(Keys keys);

    static QSizeF size(const QString &keys);
    static void paint(QPainter &painter, const QRectF &bounds, const QString &keys);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_keys;
};

}  // namespace sw
