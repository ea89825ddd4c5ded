#pragma once

// The wide card at the head of the home shelf that presents the newest save: an eyebrow, the first
// line of the post in display type, the author, the save's main action beside a one-line summary
// of its media, age and address, and on the right its thumbnail in a frame. Pressing the title or
// the thumbnail asks to select the save, pressing the pill asks for its action; the owner acts.
//
// The card is built from a shelf item and the present moment; its age text changes only when the
// owner hands in a new moment. It draws its own drop shadow inside its bounds: the contents
// margins leave room for it around the card.

#include "Capture/Date.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/Saves/SaveIntent.h"

#include <QFontMetricsF>
#include <QMargins>
#include <QWidget>

namespace sw {

class ActionPillButton;
class Kicker;
class MediaThumbnailView;
class Pressable;

class LatestSaveHero : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 30;          // between the text column and the thumbnail
    static constexpr double columnSpacing = 10;
    static constexpr double actionSpacing = 16;    // between the pill and the summary
    static constexpr double actionTopPadding = 8;
    static constexpr double horizontalPadding = 30;
    static constexpr double verticalPadding = 26;
    static constexpr double radius = 18;
    static constexpr double thumbnailHeight = 130;
    static constexpr double artPadding = 10;
    static constexpr double artRadius = 22;
    static constexpr double pillMinimumWidth = 140;
    static constexpr double pillMaximumWidth = 220;
    static constexpr double shadowBlur = 15;
    static constexpr double shadowOffset = 10;
    static constexpr double shadowOpacity = 0.25;

    LatestSaveHero(const ShelfItem &item, Date now, QWidget *parent = nullptr);

    const ShelfItem &item() const { return m_item; }
    Date now() const { return m_now; }
    // A new item or moment rebuilds what changed.
    void setItem(const ShelfItem &item);
    void setNow(Date now);

    // The texts it shows.
    // The post's text up to its first line feed (all of it without one; empty for an empty text).
    static QString titleText(const Post &post);
    // The author's name, then " · ".
    static QString authorNameText(const Author &author);
    // The handle as the author line shows it: "@" and the handle, except a handle holding a full
    // stop (a web page's host), shown as it is.
    static QString handleText(const Author &author);
    // By kind: "media.videoLength" with the first video's length ("media.video" when none is a
    // video); "media.imageOne" for exactly one attachment, else "media.imageMany" with the count;
    // "media.text"; "media.link".
    static QString mediaText(const Post &post);
    // "shelf.savedJustNow" below 60 seconds (and for a save dated after now), else
    // "shelf.savedAgo" with the age.
    static QString ageText(Date savedAt, Date now);
    // The link's address with a leading "https://" taken off; any other scheme stays.
    static QString addressText(const PostLink &link);
    // The three joined by " · ".
    static QString summaryText(const ShelfItem &item, Date now);
    // The summary as it fits into `width` with `metrics`, the least telling part giving way
    // first: the address is cut with an ellipsis while at least kAddressKept of its characters
    // stay, then left out with its separator; only then the age is cut, and last the media text.
    static QString fittedSummary(const QString &media, const QString &age, const QString &address,
                                 const QFontMetricsF &metrics, double width);
    static constexpr int kAddressKept = 6;
    // The pill's width in an action row `width` wide whose summary would take `summaryWidth`: what
    // the summary leaves, within the pill's bounds, so that the pill gives way before the summary.
    static double pillWidth(double width, double summaryWidth);
    // The thumbnail's width in a card whose row (inside the padding) is `row` wide, when the text
    // column needs `column` for the pill and the summary's media and age: its own `ideal` width
    // when that leaves the column enough, otherwise what the column leaves, down to
    // kThumbnailLeast. A picture kept in shape fits the width it is given, so it yields room first.
    static double thumbnailWidth(double row, double column, double ideal);
    static constexpr double kThumbnailLeast = 90;

    // The card's rectangle inside the widget: the contents rectangle, whose margins hold the shadow.
    QRectF cardRect() const;
    static QMargins shadowMargins();

    // The parts, for the owner's focus chain and for tests.
    Kicker &eyebrow() { return *m_eyebrow; }
    Pressable &titleButton() { return *m_title; }
    ActionPillButton &actionPill() { return *m_pill; }
    Pressable &thumbnailButton() { return *m_art; }
    MediaThumbnailView &thumbnail() { return *m_thumbnail; }
    QString shownAuthorText() const;
    QString shownSummary() const;
    // The summary as it is drawn at the present width.
    QString visibleSummary() const;

signals:
    // The title or the thumbnail was pressed: select, with the modifiers of that press; the pill:
    // the item's action.
    void intentRaised(const sw::SaveIntent &intent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();
    void fitThumbnail();

    ShelfItem m_item;
    Date m_now;
    Kicker *m_eyebrow = nullptr;
    Pressable *m_title = nullptr;
    QWidget *m_author = nullptr;
    ActionPillButton *m_pill = nullptr;
    QWidget *m_summary = nullptr;
    Pressable *m_art = nullptr;
    MediaThumbnailView *m_thumbnail = nullptr;
    // The modifiers of the input that is pressing the title or the thumbnail now.
    Qt::KeyboardModifiers m_pressModifiers;
};

}  // namespace sw
