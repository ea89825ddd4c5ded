#include "StashwellUI/Controls/SearchField.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScopedValueRollback>

#include <cmath>

namespace sw {

namespace {

double symbolSide() { return ControlPainting::symbolSide(Tokens::Typography::body.size); }

class ClearSearchButton : public Pressable {
public:
    explicit ClearSearchButton(QWidget *parent) : Pressable(parent)
    {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        // A click clears without taking the focus from the text field; Tab still reaches it.
        setFocusPolicy(Qt::TabFocus);
    }

    QString accessibleText() const override { return StashwellUIStrings::searchClear(); }
    QSize sizeHint() const override
    {
        const int side = static_cast<int>(std::ceil(symbolSide()));
        return QSize(side, side);
    }
    QPainterPath hitShape() const override
    {
        QPainterPath path;
        path.addEllipse(QRectF(rect()));
        return path;
    }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ControlPainting::applyPlainStyle(painter, state);
        Symbols::paint(painter, rect, u"xmark.circle.fill", Tokens::Colors::muted());
    }
};

// The text line. A line edit shapes its text (or its prompt) anew on every paint, and the bar it
// sits in repaints whenever the shelf moves under its frost: a scroll step, a filter, the
// inspector opening. Without the focus nothing in it blinks, so its drawing is kept as a
// transparent layer and copied until something it is drawn from changes. The field, which paints
// beneath it first in every frame, makes the layer again when it is out of date (a widget cannot
// be rendered from its own paint), so the text is always drawn the same way, never once straight
// and then from the layer. With the focus (a caret that blinks on a timer of its own) it paints as
// any line edit.
class SearchText : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    // Makes the layer again where it is out of date and the text is drawn from one.
    void prepareLayer()
    {
        if (hasFocus() || !isVisible() || size().isEmpty() || (!m_layer.isNull() && m_look == current()))
            return;
        const qreal ratio = devicePixelRatioF();
        QImage layer((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        layer.setDevicePixelRatio(ratio);
        layer.fill(Qt::transparent);
        {
            const QScopedValueRollback<bool> drawing(m_drawingLayer, true);
            render(&layer, QPoint(), QRegion(), {});
        }
        m_layer = std::move(layer);
        m_look = current();
    }

protected:
    bool event(QEvent *event) override
    {
        // Any event but a paint (a key, the pointer, a change of font, palette, state or
        // activation) may change the look: the layer is made again before the next paint.
        if (event->type() != QEvent::Paint && !m_drawingLayer)
            m_layer = QImage();
        return QLineEdit::event(event);
    }

    void paintEvent(QPaintEvent *event) override
    {
        if (!m_drawingLayer && !m_layer.isNull() && !hasFocus() && m_look == current()) {
            QPainter painter(this);
            painter.setClipRegion(event->region());
            painter.drawImage(QPoint(), m_layer);
            return;
        }
        QLineEdit::paintEvent(event);
    }

private:
    // What a line edit's paint depends on that may change with no event sent to it.
    struct Look {
        QString text;
        QString prompt;
        int cursor = 0;
        int selectionStart = -1;
        int selectionLength = 0;
        QSize size;
        qreal ratio = 1;
        int alignment = 0;
        bool readOnly = false;
        bool operator==(const Look &) const = default;
    };
    Look current() const
    {
        return {displayText(), placeholderText(), cursorPosition(), selectionStart(), selectionLength(),
                size(), devicePixelRatioF(), int(alignment()), isReadOnly()};
    }

    QImage m_layer;
    Look m_look;
    bool m_drawingLayer = false;
};

}  // namespace

SearchField::SearchField(QWidget *parent) : SearchField(StashwellUIStrings::searchPrompt(), parent) {}

SearchField::SearchField(const QString &prompt, QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMinimumWidth(static_cast<int>(minimumWidth));
    setMaximumWidth(static_cast<int>(idealWidth));
    setFixedHeight(static_cast<int>(controlHeight));

    m_edit = new SearchText(this);
    m_edit->setFrame(false);
    m_edit->setFont(Tokens::Typography::body.font());
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_edit->setPlaceholderText(prompt);
    m_edit->setAccessibleName(StashwellUIStrings::searchLabel());
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);
    // Tab reaches the text through the field; a click on the field's own parts (the clear button
    // among them) must not pull the focus into the text.
    setFocusPolicy(Qt::TabFocus);

    m_clear = new ClearSearchButton(this);
    m_clear->hide();
    connect(m_clear, &QAbstractButton::clicked, this, [this] {
        // Reached by Tab, the button is about to hide; the focus goes back to the text rather
        // than on to the next control.
        const bool buttonHadFocus = m_clear->hasFocus();
        setText(QString());
        if (buttonHadFocus)
            m_edit->setFocus(Qt::OtherFocusReason);
    });

    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString &text) {
        const bool shows = !text.isEmpty();
        if (shows != m_clear->isVisibleTo(this)) {
            m_clear->setVisible(shows);
            place();
        }
        emit textChanged(text);
    });

    applyTheme();
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        applyTheme();
        update();
    });
}

QString SearchField::text() const { return m_edit->text(); }

void SearchField::setText(const QString &text)
{
    if (text == m_edit->text())
        return;
    m_edit->setText(text);
}

QString SearchField::prompt() const { return m_edit->placeholderText(); }

void SearchField::setPrompt(const QString &prompt) { m_edit->setPlaceholderText(prompt); }

void SearchField::setFocused(bool focused)
{
    if (focused == m_edit->hasFocus())
        return;
    if (focused)
        m_edit->setFocus(Qt::OtherFocusReason);
    else
        m_edit->clearFocus();
}

Pressable *SearchField::clearButton() const { return m_clear->isVisibleTo(this) ? m_clear : nullptr; }

bool SearchField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const bool focused = event->type() == QEvent::FocusIn;
        if (focused != m_focused) {
            m_focused = focused;
            update();
            emit focusChanged(focused);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchField::applyTheme()
{
    QPalette p = m_edit->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Window, Qt::transparent);
    p.setColor(QPalette::Text, Tokens::Colors::text());
    p.setColor(QPalette::PlaceholderText, Tokens::Colors::muted());
    p.setColor(QPalette::Highlight, ControlPainting::faded(Tokens::Colors::accent(), 0.45));
    p.setColor(QPalette::HighlightedText, Tokens::Colors::text());
    m_edit->setPalette(p);
}

QSize SearchField::sizeHint() const { return QSize(static_cast<int>(idealWidth), static_cast<int>(controlHeight)); }

QSize SearchField::minimumSizeHint() const { return QSize(static_cast<int>(minimumWidth), static_cast<int>(controlHeight)); }

void SearchField::place()
{
    const double side = symbolSide();
    double left = sidePadding + side + spacing;
    double right = width() - sidePadding;
    if (m_clear->isVisibleTo(this)) {
        const QSize size = m_clear->sizeHint();
        m_clear->setGeometry(static_cast<int>(std::round(right - size.width())), (height() - size.height()) / 2, size.width(),
                             size.height());
        right -= size.width() + spacing;
    }
    // QLineEdit keeps 2 of its own on each side, so the text starts where the row says.
    const int editLeft = static_cast<int>(std::round(left)) - 2;
    const int editRight = static_cast<int>(std::round(right)) + 2;
    const int editHeight = m_edit->sizeHint().height();
    m_edit->setGeometry(editLeft, (height() - editHeight) / 2, std::max(0, editRight - editLeft), editHeight);
}

void SearchField::resizeEvent(QResizeEvent *) { place(); }

void SearchField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    WellStyle::well().fill(painter, bounds, radius);
    const double side = symbolSide();
    Symbols::paint(painter, QRectF(sidePadding, bounds.center().y() - side / 2, side, side), u"magnifyingglass",
                   Tokens::Colors::muted());
    ContinuousShape::strokeInside(painter, bounds, radius,
                                  m_focused ? ControlPainting::faded(Tokens::Colors::accent(), 0.45) : Tokens::Colors::lineStrong(), 1);
    // The text line paints over this next, in the same frame.
    static_cast<SearchText *>(m_edit)->prepareLayer();
}

}  // namespace sw
