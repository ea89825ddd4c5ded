// Every control drawn in the four looks (light and dark, solid and glass) into the gallery folder,
// each checked not blank and of its size.

#include "StashwellUI/Controls/CaptureButton.h"
#include "StashwellUI/Controls/ConnectionStatus.h"
#include "ControlTesting.h"
#include "StashwellUI/Controls/FileRow.h"
#include "StashwellUI/Controls/FilterChip.h"
#include "Gallery.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassSegments.h"
#include "StashwellUI/Controls/GlassPicker.h"
#include "StashwellUI/Controls/InfoRow.h"
#include "StashwellUI/Controls/KeyCap.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Controls/MediaBadge.h"
#include "StashwellUI/Controls/PillButton.h"
#include "StashwellUI/Controls/ProgressTrack.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Controls/SectionHeader.h"
#include "StashwellUI/Controls/SettingsRow.h"
#include "StashwellUI/Controls/InsetField.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/Controls/StorageMeter.h"
#include "StashwellUI/Controls/TagChip.h"
#include "StashwellUI/Controls/AddTagField.h"

#include <QLabel>

#include <functional>
#include <memory>

using namespace sw;

using Factory = std::function<QWidget *()>;
Q_DECLARE_METATYPE(Factory)

namespace {

QSize ceilSize(const QSizeF &size) { return QSize(int(std::ceil(size.width())), int(std::ceil(size.height()))); }

template <class W>
Factory sized(std::function<W *()> make, QSize size)
{
    return [make, size]() -> QWidget * {
        W *widget = make();
        widget->resize(size);
        return widget;
    };
}

}  // namespace

class TestControlsGallery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void everyControlInEveryLook_data();
    void everyControlInEveryLook();
};

void TestControlsGallery::everyControlInEveryLook_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Factory>("factory");
    QTest::addColumn<QSize>("size");   // what the control must measure in the picture

    for (Tone tone : allTones) {
        static const char *names[] = {"accent", "ok", "neutral", "danger"};
        const QString name = QStringLiteral("pill-%1").arg(QLatin1String(names[int(tone)]));
        QTest::newRow(qPrintable(name)) << name
                                        << sized<PillButton>([tone] { return new PillButton(QStringLiteral("Download 12.4 MB"), QStringLiteral("arrow.down"), tone); },
                                                             QSize(220, 32))
                                        << QSize(220, 32);
    }
    QTest::newRow("pill-progress") << QStringLiteral("pill-progress")
                                   << sized<PillButton>([] {
                                          auto *pill = new PillButton(QStringLiteral("Downloading 40%"), QStringLiteral("arrow.down"), Tone::accent);
                                          pill->setProgress(0.4);
                                          pill->setEnabled(false);
                                          return pill;
                                      }, QSize(220, 32))
                                   << QSize(220, 32);
    QTest::newRow("round-icon") << QStringLiteral("round-icon")
                                << Factory([] { return new RoundIconButton(QStringLiteral("trash"), QStringLiteral("Move to Trash")); })
                                << QSize(32, 32);
    QTest::newRow("round-icon-24") << QStringLiteral("round-icon-24") << Factory([] {
        auto *button = new RoundIconButton(QStringLiteral("star.fill"), QStringLiteral("Favourite"));
        button->setDiameter(24);
        button->setTint(Tokens::Colors::accent());
        return button;
    }) << QSize(24, 24);
    QTest::newRow("progress-track") << QStringLiteral("progress-track")
                                    << sized<ProgressTrack>([] { return new ProgressTrack(0.62); }, QSize(200, 6)) << QSize(200, 6);
    QTest::newRow("progress-track-empty") << QStringLiteral("progress-track-empty")
                                          << sized<ProgressTrack>([] { return new ProgressTrack(0); }, QSize(200, 6)) << QSize(200, 6);
    QTest::newRow("media-badge") << QStringLiteral("media-badge") << Factory([] { return new MediaBadge(QStringLiteral("62:05")); })
                                 << ceilSize(MediaBadge::size(QStringLiteral("62:05"), QString()));
    QTest::newRow("media-badge-symbol") << QStringLiteral("media-badge-symbol")
                                        << Factory([] { return new MediaBadge(QStringLiteral("2/5"), QStringLiteral("photo")); })
                                        << ceilSize(MediaBadge::size(QStringLiteral("2/5"), QStringLiteral("photo")));
    QTest::newRow("kicker") << QStringLiteral("kicker") << Factory([] { return new Kicker(QStringLiteral("Latest save")); })
                            << ceilSize(Kicker::size(QStringLiteral("Latest save")));
    QTest::newRow("tag-chip") << QStringLiteral("tag-chip") << Factory([] {
        auto *chip = new TagChip(QStringLiteral("long-read"));
        chip->setOnRemove([] {});
        return chip;
    }) << TagChip(QStringLiteral("long-read")).sizeHint() + QSize(4 + int(std::ceil(ControlPainting::symbolSide(8))), 0);
    QTest::newRow("add-tag-field") << QStringLiteral("add-tag-field") << Factory([] { return new AddTagField; })
                                   << AddTagField().sizeHint();
    QTest::newRow("search-field") << QStringLiteral("search-field") << Factory([] { return new SearchField; }) << QSize(240, 32);
    QTest::newRow("search-field-text") << QStringLiteral("search-field-text") << Factory([] {
        auto *field = new SearchField;
        field->setText(QStringLiteral("long reads"));
        return field;
    }) << QSize(240, 32);
    QTest::newRow("section-header") << QStringLiteral("section-header") << sized<SectionHeader>([] {
        auto *header = new SectionHeader(QStringLiteral("Recently added"));
        header->setDetail(QStringLiteral("12"));
        header->setActionTitle(QStringLiteral("Show all"));
        header->setAction([] {});
        return header;
    }, QSize(420, 30)) << QSize(420, 30);
    QTest::newRow("capture-button") << QStringLiteral("capture-button")
                                    << sized<CaptureButton>([] { return new CaptureButton; }, QSize(216, 36)) << QSize(216, 36);
    QTest::newRow("key-cap") << QStringLiteral("key-cap") << Factory([] { return new KeyCap(QStringLiteral("Ctrl+L")); })
                             << ceilSize(KeyCap::size(QStringLiteral("Ctrl+L")));
    QTest::newRow("glass-button-accent") << QStringLiteral("glass-button-accent")
                                         << Factory([] { return new GlassButton(QStringLiteral("Save"), QStringLiteral("plus"), Tone::accent); })
                                         << GlassButton(QStringLiteral("Save"), QStringLiteral("plus"), Tone::accent).sizeHint();
    QTest::newRow("glass-button-neutral") << QStringLiteral("glass-button-neutral")
                                          << Factory([] { return new GlassButton(QStringLiteral("Test connection"), QString(), Tone::neutral); })
                                          << GlassButton(QStringLiteral("Test connection"), QString(), Tone::neutral).sizeHint();
    QTest::newRow("glass-button-disabled") << QStringLiteral("glass-button-disabled") << Factory([] {
        auto *button = new GlassButton(QStringLiteral("Save"), QString(), Tone::accent);
        button->setEnabled(false);
        return button;
    }) << GlassButton(QStringLiteral("Save"), QString(), Tone::accent).sizeHint();
    const QList<GlassSegments::Option> themes{{QStringLiteral("system"), QStringLiteral("System"), QStringLiteral("gearshape")},
                                              {QStringLiteral("light"), QStringLiteral("Light"), QString()},
                                              {QStringLiteral("dark"), QStringLiteral("Dark"), QString()}};
    QTest::newRow("glass-segments") << QStringLiteral("glass-segments") << Factory([themes] {
        auto *segments = new GlassSegments(themes, false);
        segments->setSelection(QStringLiteral("light"));
        return segments;
    }) << GlassSegments(themes, false).sizeHint();
    QTest::newRow("glass-segments-fill") << QStringLiteral("glass-segments-fill") << sized<GlassSegments>([themes] {
        auto *segments = new GlassSegments(themes, true);
        segments->setSelection(QStringLiteral("system"));
        return segments;
    }, QSize(360, 32)) << QSize(360, 32);
    const QList<GlassPicker::Option> qualities{{QStringLiteral("original"), QStringLiteral("Original")},
                                               {QStringLiteral("small"), QStringLiteral("Small")}};
    QTest::newRow("glass-picker") << QStringLiteral("glass-picker") << Factory([qualities] {
        auto *picker = new GlassPicker(QStringLiteral("Quality"), qualities);
        picker->setSelection(QStringLiteral("original"));
        return picker;
    }) << [&] {
        GlassPicker picker(QStringLiteral("Quality"), qualities);
        picker.setSelection(QStringLiteral("original"));
        return picker.sizeHint();
    }();
    QTest::newRow("settings-row") << QStringLiteral("settings-row") << sized<SettingsRow>([] {
        return new SettingsRow(QStringLiteral("Network route"), QStringLiteral("socks://127.0.0.1:1080"),
                               new GlassButton(QStringLiteral("Test"), QString(), Tone::neutral));
    }, QSize(420, 48)) << QSize(420, 48);
    QTest::newRow("inset-field") << QStringLiteral("inset-field") << sized<InsetField>([] {
        auto *field = new InsetField;
        field->setText(QStringLiteral("127.0.0.1"));
        return field;
    }, QSize(200, 32)) << QSize(200, 32);
    const QList<std::pair<QString, ConnectionState>> states{
        {QStringLiteral("unknown"), ConnectionState::unknown()},
        {QStringLiteral("checking"), ConnectionState::checking()},
        {QStringLiteral("reachable"), ConnectionState::reachable()},
        {QStringLiteral("unreachable"), ConnectionState::unreachable(QStringLiteral("The proxy refused the connection"))},
    };
    for (const auto &[stateName, state] : states) {
        const QString name = QStringLiteral("connection-") + stateName;
        QTest::newRow(qPrintable(name)) << name << Factory([state] { return new ConnectionStatus(state); })
                                        << ConnectionStatus(state).sizeHint();
    }
    for (bool selected : {false, true}) {
        const QString name = selected ? QStringLiteral("filter-chip-selected") : QStringLiteral("filter-chip");
        QTest::newRow(qPrintable(name)) << name << Factory([selected] {
            auto *chip = new FilterChip(QStringLiteral("Video"), QStringLiteral("play.rectangle"));
            chip->setSelected(selected);
            return chip;
        }) << [selected] {
            FilterChip chip(QStringLiteral("Video"), QStringLiteral("play.rectangle"));
            chip.setSelected(selected);
            return chip.sizeHint();
        }();
        const QString row = selected ? QStringLiteral("sidebar-row-selected") : QStringLiteral("sidebar-row");
        QTest::newRow(qPrintable(row)) << row << sized<SidebarRow>([selected] {
            auto *sidebarRow = new SidebarRow(QStringLiteral("Favourites"), QStringLiteral("star"));
            sidebarRow->setCount(12345);
            sidebarRow->setSelected(selected);
            return sidebarRow;
        }, QSize(216, 32)) << QSize(216, 32);
    }
    QTest::newRow("file-row") << QStringLiteral("file-row") << sized<FileRow>([] {
        return new FileRow(QStringLiteral("someone_1234567890123456789_clip_with_a_long_name.mp4"), QStringLiteral("Video · 12.4 MB"),
                           QStringLiteral("play.rectangle"));
    }, QSize(260, 40)) << QSize(260, 40);
    QTest::newRow("info-row") << QStringLiteral("info-row") << sized<InfoRow>([] {
        return new InfoRow(QStringLiteral("Link"), QStringLiteral("https://example.com/a/long/path/to/an/article"));
    }, QSize(300, 40)) << QSize(300, 40);
    QTest::newRow("storage-meter") << QStringLiteral("storage-meter") << Factory([] {
        auto *meter = new StorageMeter;
        meter->setOnDisk(qint64(3) << 30);
        meter->setLimit(qint64(5) << 30);
        meter->setFolder(QStringLiteral("~/Videos/Stashwell"));
        meter->setMissing(7);
        meter->resize(240, meter->sizeHint().height());
        return meter;
    }) << [] {
        StorageMeter meter;
        meter.setMissing(7);
        return QSize(240, meter.sizeHint().height());
    }();
}

void TestControlsGallery::everyControlInEveryLook()
{
    QFETCH(QString, name);
    QFETCH(Factory, factory);
    QFETCH(QSize, size);
    std::unique_ptr<QWidget> widget(factory());
    if (!widget->testAttribute(Qt::WA_Resized))
        widget->resize(widget->sizeHint());
    QVERIFY(test::showWidget(*widget));
    QCOMPARE(widget->size(), size);
    const QList<gallery::Shot> shots = gallery::capture(*widget, QStringLiteral("control-") + name);
    QCOMPARE(shots.size(), 4);
    for (const gallery::Shot &shot : shots) {
        QVERIFY2(!shot.blank, qPrintable(name + QStringLiteral(" is blank in ") + gallery::lookName(shot.appearance, shot.surface)));
        QCOMPARE(shot.picture.deviceIndependentSize(), QSizeF(size));
        if (!qEnvironmentVariableIsEmpty("STASHWELL_GALLERY_DIR"))
            QVERIFY(!shot.path.isEmpty());
    }
    // Light and dark are drawn differently.
    QVERIFY(shots[0].picture != shots[2].picture);
}

QTEST_MAIN(TestControlsGallery)
#include "tst_controlsgallery.moc"
