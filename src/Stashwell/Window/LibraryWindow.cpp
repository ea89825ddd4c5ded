#include "Stashwell/Window/LibraryWindow.h"

#include "Stashwell/Window/GlassBackdrop.h"
#include "Stashwell/Window/ProgressiveBlur.h"
#include "Stashwell/Window/WindowPlacement.h"
#include "StashwellUI/Design/LogoMark.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Window/LibraryWindowTemplate.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QUndoStack>
#include <QVBoxLayout>

namespace sw::app {

namespace {

// Stands in the centre until the library page does: the application's mark, muted, alone.
QWidget *makePlaceholder()
{
    auto *placeholder = new QWidget;
    auto *layout = new QVBoxLayout(placeholder);
    layout->addStretch(1);
    layout->addWidget(new sw::LogoMark(64, false), 0, Qt::AlignCenter);
    layout->addStretch(1);
    return placeholder;
}

}  // namespace

LibraryWindow::LibraryWindow(GlassBackdrop &backdrop, QWidget *parent)
    : QMainWindow(parent), m_backdrop(backdrop), m_undoStack(new QUndoStack(this)), m_frame(new QWidget)
{
    setWindowTitle(QStringLiteral("Stashwell"));
    setObjectName(QStringLiteral("library"));
    // The frame holds the page and carries the content's minimum height; nothing else is bounded.
    auto *layout = new QVBoxLayout(m_frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makePlaceholder());
    m_frame->setMinimumHeight(kMinimumContentHeight);
    setCentralWidget(m_frame);
    // The window's paint lays its ground over all it is asked to paint: Qt's own fill of the
    // same area first, in the palette's colour, would only be painted over, and at the size of a
    // search's new shelf it was the first write to memory the frame then wrote again.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Scrolling areas of this window frost their edges; the other windows keep plain edges.
    sw::ScrollEdgeFrostSetting::set(*this, ProgressiveBlur::frost());

    resize(firstSize(QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableSize()
                                                      : QSize(kDefaultWidth, kDefaultHeight)));

    m_backdrop.attach(*this);
    connect(&m_backdrop, &GlassBackdrop::changed, this, qOverload<>(&QWidget::update));
    connect(&sw::Theme::instance(), &sw::Theme::changed, this, qOverload<>(&QWidget::update));
}

LibraryWindow::~LibraryWindow() = default;

QSize LibraryWindow::firstSize(QSize available)
{
    // The frame the window manager adds is not known before the window is shown: leave room for it.
    const QSize room(available.width() - 2 * WindowPlacement::kAssumedBorder,
                     available.height() - WindowPlacement::kAssumedTitleBar - WindowPlacement::kAssumedBorder);
    return QSize(kDefaultWidth, kDefaultHeight).boundedTo(room);
}

void LibraryWindow::setPage(QWidget *page)
{
    auto *layout = static_cast<QVBoxLayout *>(m_frame->layout());
    while (QLayoutItem *item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (!page)
        return;
    // The window lays its ground once, for the whole window: a frame inside it paints none.
    for (sw::LibraryWindowTemplate *frame : page->findChildren<sw::LibraryWindowTemplate *>())
        frame->setPaintsGround(false);
    layout->addWidget(page);
}

QWidget *LibraryWindow::page() const
{
    QLayoutItem *item = m_frame->layout()->itemAt(0);
    return item ? item->widget() : nullptr;
}

void LibraryWindow::bringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void LibraryWindow::closeEvent(QCloseEvent *event)
{
    if (m_hidesOnClose && m_hidesOnClose()) {
        hide();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void LibraryWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), m_backdrop.fill());
}

}  // namespace sw::app
