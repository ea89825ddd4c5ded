#pragma once

// The content of the sheet that plays a downloaded video: a header with the post's author and the
// day it was posted and three round buttons (show the file in the file manager, open the post on
// the web, close), the video itself, started at once, and up to three lines of the post's text,
// which can be selected and copied. 940 wide whatever the window.
//
// The sheet changes nothing and never closes itself: its buttons and Escape only ask, through its
// signals, and the owner reveals the file, opens the post and dismisses the sheet. Its inline
// player pauses when the sheet goes off screen.

#include "Capture/Date.h"
#include "Capture/Post.h"

#include <QLocale>
#include <QTimeZone>
#include <QUrl>
#include <QWidget>

class QLabel;

namespace sw {

class AuthorLineView;
class InlinePlayer;
class RoundIconButton;

class PlayerSheet : public QWidget {
    Q_OBJECT
public:
    static constexpr double sheetWidth = 940;
    static constexpr double padding = 24;
    static constexpr double spacing = 16;
    static constexpr double playerHeight = 506;
    static constexpr double buttonSize = 32;
    static constexpr int textLines = 3;

    PlayerSheet(const QUrl &file, const Post &post, QWidget *parent = nullptr);

    const QUrl &file() const { return m_file; }
    const Post &post() const { return m_post; }

    InlinePlayer &player() { return *m_player; }
    AuthorLineView &authorLine() { return *m_author; }
    RoundIconButton &revealButton() { return *m_reveal; }
    RoundIconButton &openOriginalButton() { return *m_openOriginal; }
    RoundIconButton &closeButton() { return *m_close; }
    QLabel &textLabel() { return *m_text; }

    // The day a post was posted as the header shows it: the month abbreviated, the day and the
    // year in the order and words of `locale`, in `zone`, without a weekday or a time of day.
    static QString postedText(Date postedAt, const QLocale &locale, const QTimeZone &zone);
    // The locale's long date pattern with the weekday left out and the month abbreviated.
    static QString datePattern(const QLocale &locale);

    // The first `lines` lines `text` takes at `width` in `font`, the last cut with an ellipsis when
    // more text follows; line feeds in the text are kept.
    static QString visibleText(const QString &text, const QFont &font, double width, int lines);

signals:
    void revealRequested();
    void openOriginalRequested();
    // The close button or Escape.
    void closeRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyText();

    QUrl m_file;
    Post m_post;
    AuthorLineView *m_author = nullptr;
    RoundIconButton *m_reveal = nullptr;
    RoundIconButton *m_openOriginal = nullptr;
    RoundIconButton *m_close = nullptr;
    InlinePlayer *m_player = nullptr;
    QLabel *m_text = nullptr;
};

}  // namespace sw
