#pragma once

// The library's search box: a rounded well holding a magnifying glass, a one-line text field and,
// while there is text (spaces count), a clear button. The text and the keyboard focus are the
// owner's: textChanged() reports every change (typing, clearing), focusChanged() reports the field
// gaining and losing focus, and setText()/setFocused() let the owner drive both. Focus shows as an
// accent border. The clear button empties the text and leaves the focus where it is.
// 140 to 240 wide, exactly 32 high.

#include "StashwellUI/Controls/Pressable.h"

#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace sw {

class SearchField : public QWidget {
    Q_OBJECT
public:
    static constexpr double minimumWidth = 140;
    static constexpr double idealWidth = 240;
    static constexpr double controlHeight = 32;
    static constexpr double sidePadding = 12;
    static constexpr double spacing = 8;
    static constexpr double radius = 10;

    // The prompt is the catalogue's search prompt unless one is given.
    explicit SearchField(QWidget *parent = nullptr);
    SearchField(const QString &prompt, QWidget *parent);

    QString text() const;
    void setText(const QString &text);
    QString prompt() const;
    void setPrompt(const QString &prompt);
    // Whether the text field has keyboard focus; setting true moves the focus into it, false
    // takes it away.
    bool isFocused() const { return m_focused; }
    void setFocused(bool focused);

    QLineEdit *lineEdit() const { return m_edit; }
    // The clear button while it shows, else null.
    Pressable *clearButton() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void textChanged(const QString &text);
    void focusChanged(bool focused);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_edit = nullptr;
    Pressable *m_clear = nullptr;
    bool m_focused = false;

    void place();
    void applyTheme();
};

}  // namespace sw
