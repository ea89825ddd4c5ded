#include "StashwellUI/Sidebar/LibrarySidebar.h"

#include "StashwellUI/Controls/CaptureButton.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Controls/FilterChip.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Controls/PlainScrollArea.h"
#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/Controls/StorageMeter.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/LogoMark.h"
#include "StashwellUI/Design/SoftScrollEdges.h"
#include "StashwellUI/Design/SwatchDot.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Design/XGlyph.h"
#include "StashwellUI/Layout/FlowLayout.h"
#include "StashwellUI/Pictures/Avatar.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/detail/Sizing.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace sw {

namespace {

// The product's name beside its mark. Not a text of this module's table: it is the same in
// every language.
const QString productName = QStringLiteral("Stashwell");

void makeTransparent(QWidget *widget)
{
    widget->setAutoFillBackground(false);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, Qt::transparent);
    p.setColor(QPalette::Base, Qt::transparent);
    widget->setPalette(p);
}

}  // namespace

// A titled group: the title line (kicker, then an optional accessory at the trailing end) over
// the content, 2 apart.
class LibrarySidebar::Section : public QWidget {
public:
    Section(const QString &title, QWidget *accessory, QWidget *parent) : QWidget(parent)
    {
        auto *line = new QHBoxLayout;
        line->setContentsMargins(10, 0, 10, 6);
        line->addWidget(new Kicker(title, this), 0, Qt::AlignVCenter);
        line->addStretch(1);
        if (accessory)
            line->addWidget(accessory, 0, Qt::AlignVCenter);
        m_layout = new QVBoxLayout(this);
        m_layout->setContentsMargins(0, 0, 0, 0);
        m_layout->setSpacing(2);
        m_layout->addLayout(line);
    }
    QVBoxLayout *content() const { return m_layout; }

private:
    QVBoxLayout *m_layout;
};

// The mark and the product's name.
class LibrarySidebar::Header : public QWidget {
public:
    static constexpr double markSize = 30;
    static constexpr double spacing = 10;
    static constexpr double sidePadding = 8;
    static constexpr double topPadding = 4;

    explicit Header(QWidget *parent) : QWidget(parent)
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setAccessibleName(productName);
        connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
    }
    QSize sizeHint() const override
    {
        const QSizeF text = ControlPainting::textSize(Tokens::Typography::title.font(), productName);
        return QSize(Sizing::ceilInt(2 * sidePadding + markSize + spacing + text.width()),
                     Sizing::ceilInt(topPadding + std::max(markSize, text.height())));
    }
    QSize minimumSizeHint() const override
    {
        return QSize(Sizing::ceilInt(2 * sidePadding + markSize), sizeHint().height());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF line(sidePadding, topPadding, width() - 2 * sidePadding, height() - topPadding);
        LogoMark::paint(painter, QRectF(line.left(), line.center().y() - markSize / 2, markSize, markSize), true);
        const QFont font = Tokens::Typography::title.font();
        const QFontMetricsF metrics(font);
        const QRectF text(line.left() + markSize + spacing, line.top(), line.width() - markSize - spacing, line.height());
        painter.setFont(font);
        painter.setPen(Tokens::Colors::text());
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(productName, Qt::ElideRight, text.width()));
    }
};

// A bare symbol that acts as a button (the plus of the collections title).
class LibrarySidebar::PlainSymbolButton : public Pressable {
public:
    PlainSymbolButton(const QString &symbol, const QString &label, QWidget *parent)
        : Pressable(parent), m_symbol(symbol), m_label(label)
    {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setToolTip(label);
    }
    QSize sizeHint() const override
    {
        const int side = Sizing::ceilInt(ControlPainting::symbolSide(Tokens::Typography::body.size)) + 4;
        return QSize(side, side);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
    QString accessibleText() const override { return m_label; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ControlPainting::applyPlainStyle(painter, state);
        const double side = ControlPainting::symbolSide(Tokens::Typography::body.size);
        Symbols::paint(painter, Sizing::centredSquare(rect, side), m_symbol, Tokens::Colors::muted());
    }

private:
    QString m_symbol;
    QString m_label;
};

// "New collection" with a plus, in a dashed rounded outline as wide as the sidebar.
class LibrarySidebar::DashedButton : public Pressable {
public:
    static constexpr double minimumHeight = 32;
    static constexpr double sidePadding = 10;
    static constexpr double radius = 10;

    explicit DashedButton(QWidget *parent) : Pressable(parent)
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QString title() const { return StashwellUIStrings::sidebarNewCollection(); }
    QSize sizeHint() const override
    {
        return QSize(Sizing::ceilInt(label().size().width() + 2 * sidePadding),
                     Sizing::ceilInt(std::max(minimumHeight, label().size().height())));
    }
    QSize minimumSizeHint() const override { return QSize(Sizing::ceilInt(2 * sidePadding), sizeHint().height()); }
    QString accessibleText() const override { return title(); }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        painter.save();
        ControlPainting::applyPlainStyle(painter, state);
        label().paint(painter, rect.adjusted(sidePadding, 0, -sidePadding, 0), Tokens::Colors::muted(), false);
        painter.restore();
        QPen pen(Tokens::Colors::lineStronger(), 1);
        pen.setDashPattern({4, 3});
        pen.setMiterLimit(10);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(ContinuousShape::rect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5));
    }

private:
    ControlPainting::Label label() const
    {
        ControlPainting::Label label;
        label.symbol = QStringLiteral("plus");
        label.title = title();
        label.font = Tokens::Typography::body.font();
        label.typeSize = Tokens::Typography::body.size;
        return label;
    }
};

LibrarySidebar::LibrarySidebar(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_dropTarget = new DropTarget(this);
    connect(m_dropTarget, &DropTarget::changed, this, &LibrarySidebar::refreshSelection);

    m_scroll = new PlainScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    makeTransparent(m_scroll);
    makeTransparent(m_scroll->viewport());

    m_column = new QWidget;
    makeTransparent(m_column);
    auto *column = new QVBoxLayout(m_column);
    column->setContentsMargins(int(padding), int(padding), int(padding), int(padding));
    column->setSpacing(int(spacing));

    column->addWidget(new Header(m_column));

    m_capture = new CaptureButton(m_column);
    connect(m_capture, &QAbstractButton::clicked, this, &LibrarySidebar::captureRequested);
    column->addWidget(m_capture);

    auto *library = new Section(StashwellUIStrings::sidebarLibrary(), nullptr, m_column);
    const struct {
        QString title;
        const char *symbol;
        Filter filter;
        bool takesDrops;
    } libraryRows[] = {
        {StashwellUIStrings::sidebarAllSaves(), "square.on.square", Filter::all(), false},
        {StashwellUIStrings::sidebarRecentlyAdded(), "clock", Filter::recentlyAdded(), false},
        {StashwellUIStrings::sidebarFavourites(), "star", Filter::favourites(), true},
    };
    for (const auto &spec : libraryRows) {
        SidebarRow *row = makeRow(spec.title, spec.filter, spec.takesDrops, library);
        row->setSymbol(QString::fromLatin1(spec.symbol));
        library->content()->addWidget(row);
        m_libraryRows.append({spec.filter, row});
    }
    column->addWidget(library);

    auto *plus = new PlainSymbolButton(QStringLiteral("plus"), StashwellUIStrings::sidebarNewCollection(), nullptr);
    m_plus = plus;
    connect(m_plus, &QAbstractButton::clicked, this, &LibrarySidebar::newCollectionRequested);
    m_collectionsSection = new Section(StashwellUIStrings::sidebarCollections(), plus, m_column);
    m_collectionsList = new QVBoxLayout;
    m_collectionsList->setContentsMargins(0, 0, 0, 0);
    m_collectionsList->setSpacing(2);
    m_collectionsSection->content()->addLayout(m_collectionsList);
    m_dashed = new DashedButton(m_collectionsSection);
    connect(m_dashed, &QAbstractButton::clicked, this, &LibrarySidebar::newCollectionRequested);
    column->addWidget(m_collectionsSection);

    auto *filterBy = new Section(StashwellUIStrings::sidebarFilterBy(), nullptr, m_column);
    auto *chipArea = new QWidget(filterBy);
    auto *flow = new FlowLayout(chipSpacing, chipArea);
    flow->setContentsMargins(6, 0, 6, 0);
    const struct {
        QString title;
        const char *symbol;
        Filter filter;
    } chips[] = {
        {StashwellUIStrings::sidebarVideo(), "play.rectangle", Filter::kind(Kind::video)},
        {StashwellUIStrings::sidebarImage(), "photo", Filter::kind(Kind::images)},
        {StashwellUIStrings::sidebarText(), "text.alignleft", Filter::kind(Kind::text)},
        {StashwellUIStrings::sidebarLink(), "link", Filter::kind(Kind::page)},
        // The letter of the service reads the same in every language.
        {QStringLiteral("X"), nullptr, Filter::source(Source::x)},
        {StashwellUIStrings::sidebarWeb(), "globe", Filter::source(Source::web)},
        {StashwellUIStrings::sidebarLinkOnly(), "icloud", Filter::linkOnly()},
    };
    for (const auto &spec : chips) {
        auto *chip = new FilterChip(spec.title, spec.symbol ? QString::fromLatin1(spec.symbol) : QString(), chipArea);
        if (!spec.symbol) {
            chip->setIcon([](QPainter &painter, const QRectF &box, const QColor &foreground) {
                XGlyph::paint(painter, Sizing::centredSquare(box, 10), foreground);
            });
        }
        const Filter filter = spec.filter;
        connect(chip, &QAbstractButton::clicked, this, [this, filter] { pick(filter); });
        flow->addWidget(chip);
        m_chips.append({spec.filter, chip});
    }
    filterBy->content()->addWidget(chipArea);
    column->addWidget(filterBy);

    m_authorsSection = new Section(StashwellUIStrings::sidebarTopAuthors(), nullptr, m_column);
    m_authorsSection->hide();
    column->addWidget(m_authorsSection);
    column->addStretch(1);
    m_scroll->setWidget(m_column);

    m_edges = new SoftScrollEdges(m_scroll, true, true);

    // The foot stays in place below the scrolling column.
    auto *foot = new QWidget(this);
    auto *footColumn = new QVBoxLayout(foot);
    footColumn->setContentsMargins(int(padding), int(padding), int(padding), int(padding));
    footColumn->setSpacing(int(spacing));
    m_meter = new StorageMeter(foot);
    connect(m_meter, &StorageMeter::showRequested, this, [this] { pick(Filter::onThisComputer()); });
    connect(m_meter, &StorageMeter::downloadMissingRequested, this, &LibrarySidebar::downloadMissingRequested);
    footColumn->addWidget(m_meter);
    auto *line = new QHBoxLayout;
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(4);
    m_trash = {Filter::trash(), makeRow(StashwellUIStrings::sidebarTrash(), Filter::trash(), true, foot)};
    m_trash.row->setSymbol(QStringLiteral("trash"));
    line->addWidget(m_trash.row, 1);
    m_settings = new RoundIconButton(QStringLiteral("gearshape"), StashwellUIStrings::sidebarSettings(), foot);
    m_settings->setDiameter(32);
    connect(m_settings, &QAbstractButton::clicked, this, &LibrarySidebar::settingsRequested);
    line->addWidget(m_settings, 0, Qt::AlignVCenter);
    footColumn->addLayout(line);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(m_scroll, 1);
    outer->addWidget(foot);

    placeCollectionEntries();
    refreshCounts();
    refreshStorage();
    refreshSelection();
    followWindowFrame();
}

LibrarySidebar::~LibrarySidebar() = default;

bool LibrarySidebar::event(QEvent *event)
{
    // The window it stands in, or that window's flags, may have changed.
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        followWindowFrame();
    return QWidget::event(event);
}

void LibrarySidebar::followWindowFrame()
{
    const bool frameless = window()->windowFlags().testFlag(Qt::FramelessWindowHint);
    const int band = frameless ? int(topSafeArea) : 0;
    if (band == m_topBand)
        return;
    m_topBand = band;
    m_column->layout()->setContentsMargins(int(padding), band + int(padding), int(padding), int(padding));
    m_edges->setSafeAreaInsets(QMargins(0, band, 0, 0));
}

SidebarRow *LibrarySidebar::makeRow(const QString &title, const Filter &filter, bool takesDrops, QWidget *parent)
{
    auto *row = new SidebarRow(parent);
    row->setTitle(title);
    connect(row, &QAbstractButton::clicked, this, [this, filter] { pick(filter); });
    new DropOnRow(row, filter, takesDrops, m_dropTarget, [this](const Filter &f, const QList<QUrl> &links) {
        return m_dropHandler ? m_dropHandler(f, links) : false;
    });
    return row;
}

void LibrarySidebar::setContent(const SidebarContent &content)
{
    if (content == m_content)
        return;
    const bool collectionsChanged = content.collections != m_content.collections;
    const bool authorsChanged = content.authors != m_content.authors;
    m_content = content;
    if (collectionsChanged)
        rebuildCollections();
    if (authorsChanged)
        rebuildAuthors();
    refreshCounts();
    refreshStorage();
    if (collectionsChanged || authorsChanged)
        refreshSelection();
}

void LibrarySidebar::setSelection(const Filter &filter)
{
    if (filter == m_selection)
        return;
    m_selection = filter;
    refreshSelection();
}

void LibrarySidebar::pick(const Filter &filter)
{
    setSelection(filter);
    emit selectionChanged(filter);
}

void LibrarySidebar::setDropHandler(DropLinksHandler handler) { m_dropHandler = std::move(handler); }

void LibrarySidebar::setCreating(const std::optional<CreatorPlace> &place)
{
    if (place == m_creating)
        return;
    m_creating = place;
    // A creator moving to another place is shown anew there, and takes the focus again.
    if (m_creator)
        m_creator->hide();
    placeCollectionEntries();
}

void LibrarySidebar::setCreator(QWidget *creator)
{
    if (creator == m_creator)
        return;
    if (m_creator) {
        m_collectionsList->removeWidget(m_creator);
        m_creator->hide();
    }
    m_creator = creator;
    if (m_creator) {
        m_creator->hide();
        m_creator->setParent(m_collectionsSection);
    }
    placeCollectionEntries();
}

bool LibrarySidebar::showsCreator() const { return m_creator && m_creatorPlaced; }

// Takes the rows out of their list and lets them go once this turn ends: the event that asked for
// the rebuild may still be on its way through one of them.
void LibrarySidebar::discardRows(QList<RowEntry> &rows, QVBoxLayout *list)
{
    for (const RowEntry &entry : std::as_const(rows)) {
        list->removeWidget(entry.row);
        entry.row->hide();
        entry.row->deleteLater();
    }
    rows.clear();
}

void LibrarySidebar::rebuildCollections()
{
    discardRows(m_collectionRows, m_collectionsList);
    for (const Collection &collection : std::as_const(m_content.collections)) {
        const Filter filter = Filter::collection(collection.id);
        SidebarRow *row = makeRow(collection.name, filter, true, m_collectionsSection);
        const QColor color = Tokens::Colors::swatch(collection.swatch);
        row->setIcon([color](QPainter &painter, const QRectF &box, const QColor &) {
            SwatchDot::paint(painter, box, color);
        });
        row->setContextMenuPolicy(Qt::CustomContextMenu);
        const Collection::ID id = collection.id;
        connect(row, &QWidget::customContextMenuRequested, this, [this, row, id](const QPoint &at) {
            QMenu *menu = collectionMenu(id);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(row->mapToGlobal(at));
        });
        m_collectionRows.append({filter, row});
    }
    placeCollectionEntries();
}

void LibrarySidebar::placeCollectionEntries()
{
    while (QLayoutItem *item = m_collectionsList->takeAt(0))
        delete item;
    bool placed = false;
    for (const RowEntry &entry : std::as_const(m_collectionRows)) {
        const auto *in = std::get_if<Filter::InCollection>(&entry.filter.value());
        const bool edited = m_creator && m_creating && in && m_creating->editedCollection() == in->id;
        if (edited) {
            m_collectionsList->addWidget(m_creator);
            entry.row->hide();
            placed = true;
        } else {
            m_collectionsList->addWidget(entry.row);
            entry.row->show();
        }
    }
    if (m_creator && m_creating && m_creating->isNew()) {
        m_collectionsList->addWidget(m_creator);
        placed = true;
    }
    const bool dashed = m_content.collections.isEmpty() && !m_creating;
    if (dashed)
        m_collectionsList->addWidget(m_dashed);
    m_dashed->setVisible(dashed);
    m_creatorPlaced = placed;
    if (m_creator)
        m_creator->setVisible(placed);
}

void LibrarySidebar::rebuildAuthors()
{
    discardRows(m_authorRows, m_authorsSection->content());
    for (const Author &author : std::as_const(m_content.authors)) {
        const Filter filter = Filter::author(author.handle);
        // Authors take no drops: only the selection lights them.
        SidebarRow *row = makeRow(author.name, filter, false, m_authorsSection);
        const double side = 18;
        auto *avatar = new Avatar(author.name, author.avatar, side, row);
        avatar->setAttribute(Qt::WA_TransparentForMouseEvents);
        avatar->setGeometry(int(SidebarRow::horizontalPadding), int((SidebarRow::controlHeight - side) / 2), int(side),
                            int(side));
        m_authorsSection->content()->addWidget(row);
        m_authorRows.append({filter, row});
    }
    m_authorsSection->setVisible(!m_content.authors.isEmpty());
}

void LibrarySidebar::refreshCounts()
{
    const auto apply = [this](const RowEntry &entry) {
        const std::optional<qsizetype> count = m_content.count(entry.filter);
        entry.row->setCount(count ? std::optional<std::int64_t>(*count) : std::nullopt);
    };
    for (const RowEntry &entry : std::as_const(m_libraryRows))
        apply(entry);
    for (const RowEntry &entry : std::as_const(m_collectionRows))
        apply(entry);
    for (const RowEntry &entry : std::as_const(m_authorRows))
        apply(entry);
    apply(m_trash);
}

void LibrarySidebar::refreshStorage()
{
    m_meter->setOnDisk(m_content.onDisk);
    m_meter->setLimit(m_content.limit);
    m_meter->setFolder(m_content.folder);
    m_meter->setMissing(m_content.missing);
}

void LibrarySidebar::refreshSelection()
{
    const auto apply = [this](const RowEntry &entry) {
        entry.row->setSelected(m_selection == entry.filter || m_dropTarget->names(entry.filter));
    };
    for (const RowEntry &entry : std::as_const(m_libraryRows))
        apply(entry);
    for (const RowEntry &entry : std::as_const(m_collectionRows))
        apply(entry);
    for (const RowEntry &entry : std::as_const(m_authorRows))
        apply(entry);
    apply(m_trash);
    for (const auto &[filter, chip] : std::as_const(m_chips))
        chip->setSelected(m_selection == filter);
    m_meter->setSelected(m_selection == Filter::onThisComputer());
}

QList<Filter> LibrarySidebar::rowFilters() const
{
    QList<Filter> filters;
    for (const QList<RowEntry> *list : {&m_libraryRows, &m_collectionRows, &m_authorRows}) {
        for (const RowEntry &entry : *list) {
            if (!entry.row->isHidden())
                filters.append(entry.filter);
        }
    }
    filters.append(m_trash.filter);
    return filters;
}

QList<Filter> LibrarySidebar::chipFilters() const
{
    QList<Filter> filters;
    for (const auto &[filter, chip] : m_chips)
        filters.append(filter);
    return filters;
}

SidebarRow *LibrarySidebar::row(const Filter &filter) const
{
    for (const QList<RowEntry> *list : {&m_libraryRows, &m_collectionRows, &m_authorRows}) {
        for (const RowEntry &entry : *list) {
            if (entry.filter == filter && !entry.row->isHidden())
                return entry.row;
        }
    }
    return m_trash.filter == filter ? m_trash.row : nullptr;
}

FilterChip *LibrarySidebar::chip(const Filter &filter) const
{
    for (const auto &[f, chip] : m_chips) {
        if (f == filter)
            return chip;
    }
    return nullptr;
}

QList<QWidget *> LibrarySidebar::collectionEntries() const
{
    QList<QWidget *> entries;
    for (int i = 0; i < m_collectionsList->count(); ++i) {
        if (QWidget *widget = m_collectionsList->itemAt(i)->widget())
            entries.append(widget);
    }
    return entries;
}

Pressable *LibrarySidebar::newCollectionButton() const { return m_dashed->isHidden() ? nullptr : m_dashed; }

bool LibrarySidebar::showsTopAuthors() const { return !m_authorsSection->isHidden(); }

Pressable *LibrarySidebar::settingsButton() const { return m_settings; }

QMenu *LibrarySidebar::collectionMenu(const Collection::ID &collection)
{
    auto *menu = new QMenu(this);
    connect(menu->addAction(StashwellUIStrings::sidebarEdit()), &QAction::triggered, this,
            [this, collection] { emit editCollectionRequested(collection); });
    menu->addSeparator();
    // Destructive: the danger colour marks it.
    QAction *remove = menu->addAction(Symbols::icon(u"trash", Tokens::Colors::danger()), StashwellUIStrings::sidebarDelete());
    connect(remove, &QAction::triggered, this, [this, collection] { emit deleteCollectionRequested(collection); });
    return menu;
}

}  // namespace sw
