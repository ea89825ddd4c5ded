#include "StashwellUI/Window/LibraryWindowTemplate.h"

#include "StashwellUI/Design/RectWise.h"
#include "StashwellUI/Design/SoftScrollEdges.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QSplitterHandle>

namespace sw {

namespace {

// The backdrop of a column: its colour on solid, nothing on glass.
QColor backdrop(const QColor &color) { return Theme::isGlass() ? QColor(Qt::transparent) : color; }

}  // namespace

// A column's or the status strip's ground: the backdrop of a colour, and for the status strip a
// line along its top edge. An inspector lying over the content draws a line along its leading
// edge, where the split's divider would be.
class LibraryWindowTemplate::Backdrop : public QWidget {
public:
    using Colour = QColor (*)();

    Backdrop(Colour colour, bool topLine, QWidget *child, QWidget *parent)
        : QWidget(parent), m_colour(colour), m_topLine(topLine)
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, topLine ? 1 : 0, 0, 0);
        layout->setSpacing(0);
        if (child)
            layout->addWidget(child);
        connect(&Theme::instance(), &Theme::changed, this, &Backdrop::followGround);
        followGround();
    }

    void setLeadingLine(bool line)
    {
        if (line == m_leadingLine)
            return;
        m_leadingLine = line;
        layout()->setContentsMargins(line ? 1 : 0, m_topLine ? 1 : 0, 0, 0);
        followGround();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ground());
        if (m_topLine)
            painter.fillRect(QRect(0, 0, width(), 1), Tokens::Colors::line());
        if (m_leadingLine)
            painter.fillRect(QRect(0, 0, 1, height()), Tokens::Colors::line());
    }

private:
    // Over the content the inspector's ground is always opaque: nothing of the shelf shows through.
    QColor ground() const { return m_leadingLine ? m_colour() : backdrop(m_colour()); }

    // An opaque ground covers the window's own: Qt then leaves the column out of what the window
    // paints under it, and a frame that repaints the column writes its pixels once.
    void followGround()
    {
        setAttribute(Qt::WA_OpaquePaintEvent, ground().alpha() == 255);
        update();
    }

    Colour m_colour;
    bool m_topLine;
    bool m_leadingLine = false;
};

// The detail column: the dotted canvas, the content over it, and the bar over the content's top.
class LibraryWindowTemplate::Detail : public QWidget {
public:
    Detail(LibraryWindowTemplate *frame, QWidget *bar, QWidget *content) : QWidget(frame->m_splitter), m_frame(frame)
    {
        setMinimumWidth(static_cast<int>(contentMinimum));
        m_grid = new DotGrid(this);
        m_content = content;
        if (content) {
            content->setParent(this);
            content->setMinimumWidth(static_cast<int>(contentMinimum));
        }
        m_bar = bar;
        if (bar) {
            bar->setParent(this);
            bar->installEventFilter(this);
        }
    }

    DotGrid *grid() const { return m_grid; }

    void place()
    {
        const QRect all = rect();
        m_grid->setGeometry(all);
        m_grid->lower();
        if (m_content)
            m_content->setGeometry(all);
        int barHeight = 0;
        if (m_bar && !m_bar->isHidden()) {
            barHeight = m_bar->hasHeightForWidth() ? m_bar->heightForWidth(width()) : m_bar->sizeHint().height();
            m_bar->setGeometry(0, 0, width(), barHeight);
            m_bar->raise();
        }
        if (m_frame)
            m_frame->setInsets(QMargins(0, barHeight, 0, 0));
    }

    // The frame going away: its own destructor hides the children (the bar among them) after its
    // members are gone, and placing them then must not reach back into it.
    void forgetFrame() { m_frame = nullptr; }

    QSize sizeHint() const override
    {
        QSize hint(static_cast<int>(contentMinimum), 400);
        if (m_content)
            hint = hint.expandedTo(m_content->sizeHint());
        return hint;
    }
    QSize minimumSizeHint() const override
    {
        QSize least(static_cast<int>(contentMinimum), 0);
        if (m_content)
            least = least.expandedTo(m_content->minimumSizeHint());
        return least;
    }

protected:
    void resizeEvent(QResizeEvent *) override { place(); }
    bool event(QEvent *event) override
    {
        // A child's changed size hint (the bar's) arrives as a layout request to its parent.
        if (event->type() == QEvent::LayoutRequest)
            place();
        return QWidget::event(event);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_bar && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
            place();
        return QWidget::eventFilter(watched, event);
    }

private:
    LibraryWindowTemplate *m_frame;
    DotGrid *m_grid = nullptr;
    QPointer<QWidget> m_content;
    QPointer<QWidget> m_bar;
};

// A split view whose dividers are hairlines of the line colour. Its least width leaves out the
// inspector's place: where that does not fit, the inspector lies over the content instead.
class LibraryWindowTemplate::Splitter : public QSplitter {
public:
    using QSplitter::QSplitter;
    QWidget *inspectorSlot = nullptr;

    QSize minimumSizeHint() const override
    {
        QSize least = QSplitter::minimumSizeHint();
        if (inspectorSlot && !inspectorSlot->isHidden())
            least.rwidth() -= inspectorSlot->minimumWidth() + handleWidth();
        return least;
    }

protected:
    QSplitterHandle *createHandle() override
    {
        class Handle : public QSplitterHandle {
        public:
            using QSplitterHandle::QSplitterHandle;

        protected:
            void paintEvent(QPaintEvent *) override
            {
                QPainter painter(this);
                const QColor line = Tokens::Colors::line();
                paintInBands(painter, QRectF(rect()), [&] { painter.fillRect(rect(), line); });
            }
        };
        auto *handle = new Handle(orientation(), this);
        connect(&Theme::instance(), &Theme::changed, handle, qOverload<>(&QWidget::update));
        return handle;
    }
};

DotGrid *LibraryWindowTemplate::canvas() const
{
    return static_cast<Detail *>(m_detailColumn)->grid();
}

LibraryWindowTemplate::LibraryWindowTemplate(QWidget *sidebar, QWidget *bar, QWidget *content, QWidget *inspector,
                                             QWidget *status, QWidget *parent)
    : QWidget(parent)
    , m_sidebar(sidebar)
    , m_bar(bar)
    , m_content(content)
    , m_inspector(inspector)
    , m_status(status)
{
    setAttribute(Qt::WA_TranslucentBackground);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));

    auto *splitter = new Splitter(Qt::Horizontal, this);
    m_splitter = splitter;
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(1);

    m_sidebarColumn = new Backdrop(&Tokens::Colors::panel, false, sidebar, m_splitter);
    m_sidebarColumn->setMinimumWidth(static_cast<int>(sidebarMinimum));
    m_sidebarColumn->setMaximumWidth(static_cast<int>(sidebarMaximum));
    m_detailColumn = new Detail(this, bar, content);
    m_inspectorSlot = new QWidget(m_splitter);
    m_inspectorSlot->setMinimumWidth(static_cast<int>(inspectorMinimum));
    m_inspectorSlot->setMaximumWidth(static_cast<int>(inspectorMaximum));
    m_inspectorSlot->hide();
    m_inspectorSlot->installEventFilter(this);
    splitter->inspectorSlot = m_inspectorSlot;
    m_splitter->installEventFilter(this);
    // In the slot while it stands beside the content, a child of the frame while it lies over it.
    m_inspectorColumn = new Backdrop(&Tokens::Colors::panel, false, inspector, m_inspectorSlot);
    m_inspectorColumn->setMinimumWidth(static_cast<int>(inspectorMinimum));
    m_inspectorColumn->setMaximumWidth(static_cast<int>(inspectorMaximum));
    m_inspectorColumn->hide();

    m_splitter->addWidget(m_sidebarColumn);
    m_splitter->addWidget(m_detailColumn);
    m_splitter->addWidget(m_inspectorSlot);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setStretchFactor(2, 0);
    m_splitter->setSizes({static_cast<int>(sidebarIdeal), static_cast<int>(contentMinimum), 0});

    m_edges = content ? new SoftScrollEdges(content, true, true) : nullptr;
    // The content stands on the window's colour (its tint on glass).
    if (m_edges)
        m_edges->setVeil(&Tokens::Colors::window);

    m_statusStrip = new Backdrop(&Tokens::Colors::window, true, status, this);
    m_statusStrip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(m_splitter, 1);
    stack->addWidget(m_statusStrip);
}

void LibraryWindowTemplate::setShowsInspector(bool shows)
{
    if (shows == m_showsInspector)
        return;
    m_showsInspector = shows;
    if (!shows)
        m_inspectorSlot->hide();
    dockInspector();
    emit showsInspectorChanged(shows);
}

int LibraryWindowTemplate::widthForInspectorBeside() const
{
    const int handle = m_splitter->handleWidth();
    return m_sidebarColumn->minimumSizeHint().expandedTo(m_sidebarColumn->minimumSize()).width() + handle
        + m_detailColumn->minimumSizeHint().width() + handle + static_cast<int>(inspectorMinimum);
}

// Puts the shown inspector beside the content where the width allows, else over it.
void LibraryWindowTemplate::dockInspector()
{
    // Moving the column between the slot and the frame, or hiding the slot around it, takes the
    // keyboard out of it: a note being written keeps it across a resize of the window.
    QPointer<QWidget> focused = QApplication::focusWidget();
    if (focused && !m_inspectorColumn->isAncestorOf(focused))
        focused = nullptr;

    const bool beside = m_showsInspector && width() >= widthForInspectorBeside();
    if (beside && m_inspectorSlot->isHidden()) {
        // Beside the content the column stands in the slot and shows with it. A widget shown on
        // its own under a still pointer has Qt ask the X server where the pointer is, a round
        // trip that waits for whatever the server is busy with: the slot and the divider before
        // it cost one each, the column none.
        // The inspector opens at its ideal width, taken from the detail column, and is laid out
        // once, at that width: the column has it before the slot shows, and the split then
        // gives the slot the same.
        const QScopedValueRollback docking(m_docking, true);
        QList<int> sizes = m_splitter->sizes();
        const int ideal = static_cast<int>(inspectorIdeal);
        if (m_inspectorColumn->parentWidget() != m_inspectorSlot)
            m_inspectorColumn->setParent(m_inspectorSlot);
        // No leading line beside the content (the divider draws it), set before the column shows:
        // a column last shown over the content still has it, and its margin would lay the
        // inspector out a pixel narrower first.
        static_cast<Backdrop *>(m_inspectorColumn)->setLeadingLine(false);
        m_inspectorColumn->setGeometry(0, 0, ideal, m_splitter->height());
        // Under the hidden slot, this only marks the column to show with it.
        m_inspectorColumn->show();
        m_inspectorSlot->show();
        // The handle before the slot shows now, not at the splitter's next layout: else the
        // content column takes its width twice, one pixel apart, painting the shelf twice.
        m_splitter->refresh();
        sizes[1] = std::max(sizes[1] - ideal - m_splitter->handleWidth(), static_cast<int>(contentMinimum));
        sizes[2] = ideal;
        m_splitter->setSizes(sizes);
    } else if (!beside && !m_inspectorSlot->isHidden()) {
        m_inspectorSlot->hide();
    }
    placeInspector();
    if (focused && focused->isVisible() && !focused->hasFocus())
        focused->setFocus(Qt::OtherFocusReason);
}

void LibraryWindowTemplate::placeInspector()
{
    const bool inSlot = m_inspectorColumn->parentWidget() == m_inspectorSlot;
    if (!m_showsInspector) {
        // In the slot the column hides with it, and shows with it again.
        if (!inSlot)
            m_inspectorColumn->hide();
        return;
    }
    const bool covers = m_inspectorSlot->isHidden();
    static_cast<Backdrop *>(m_inspectorColumn)->setLeadingLine(covers);
    if (covers) {
        if (inSlot)
            m_inspectorColumn->setParent(this);
        const QRect split = m_splitter->geometry();
        const int width = static_cast<int>(inspectorMinimum);
        m_inspectorColumn->setGeometry(split.right() + 1 - width, split.top(), width, split.height());
        m_inspectorColumn->show();
        m_inspectorColumn->raise();
    } else {
        m_inspectorColumn->setGeometry(QRect(QPoint(0, 0), m_inspectorSlot->size()));
    }
}

void LibraryWindowTemplate::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    dockInspector();
}

LibraryWindowTemplate::~LibraryWindowTemplate()
{
    static_cast<Detail *>(m_detailColumn)->forgetFrame();
}

bool LibraryWindowTemplate::eventFilter(QObject *watched, QEvent *event)
{
    // The column fills the slot while it stands in it; over the content it stands at the split's
    // trailing edge, whose height changes with the status strip.
    if (!m_docking && (watched == m_inspectorSlot || watched == m_splitter)
        && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeInspector();
    return QWidget::eventFilter(watched, event);
}

void LibraryWindowTemplate::setInsets(const QMargins &insets)
{
    if (m_edges)
        m_edges->setSafeAreaInsets(insets);
    if (insets == m_insets)
        return;
    m_insets = insets;
    emit contentSafeAreaInsetsChanged(insets);
}

void LibraryWindowTemplate::followContentScroll(QScrollBar *bar)
{
    if (m_edges)
        m_edges->followScroll(bar);
}

void LibraryWindowTemplate::setPaintsGround(bool paints)
{
    if (paints == m_paintsGround)
        return;
    m_paintsGround = paints;
    update();
}

void LibraryWindowTemplate::paintEvent(QPaintEvent *)
{
    if (!m_paintsGround)
        return;
    // The window colour on solid; on glass only its tint at 0.66.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Theme::isGlass() ? Tokens::Colors::glassSheet() : Tokens::Colors::window());
}

}  // namespace sw
