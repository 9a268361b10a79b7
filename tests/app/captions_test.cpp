// Every caption the window's layout gives a control fits it, measured with the font the control
// really draws with; run at the design's scale and on a screen scaled to 200 %.

#include "playtime.h"
#include "sizetext.h"
#include "testsupport.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

using namespace hollenby;

namespace {

// The pixels the control's style leaves for its caption.
int Room(const QWidget* control)
{
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return button->style()
            ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
            .width();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->contentsRect().width() - 2 * label->margin();
    // A frame's title starts a little way in from its left edge.
    return control->width() - 2 * control->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
}

} // namespace

class CaptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void captionsFitTheirControls()
    {
        testing::MainWindowFixture f;
        auto& c = f.c();
        const std::int16_t longest = *EstimatedSeconds(32768); // the most a load can give
        const QString step1 = QStringLiteral("Step 1 - File (%1)").arg(utils::SizeText(1073741823));
        const std::pair<const ui::Control*, QString> captions[] = {
            {c.cmdRefresh.get(), QStringLiteral("Load Graphics")},
            {c.cmdSaveRefresh.get(), QStringLiteral("Save and Refresh")},
            {c.lblEstPlay.get(), QStringLiteral("est play (sec's):")},
            {c.lblEstPlay.get(), QStringLiteral("est play (sec's): %1 at max speed").arg(longest)},
            {c.lblSAR_Warn.get(), QStringLiteral("*Replaces contents of Location")},
            {c.lblLocation.get(), QStringLiteral("Location of Level:")},
            {c.lblResLocation.get(), QStringLiteral("Level \"_resources\" folder:")},
            {c.fmeStep1.get(), step1},
        };
        QStringList tooWide;
        for (const auto& [control, caption] : captions) {
            const QWidget* widget = control->widget();
            const QFontMetricsF metrics(widget->font());
            const qreal width = metrics.horizontalAdvance(caption);
            if (width > Room(widget) || metrics.height() > widget->height())
                tooWide << QStringLiteral("\"%1\": %2 x %3 px in %4 x %5 (%6)")
                               .arg(caption)
                               .arg(width)
                               .arg(metrics.height())
                               .arg(Room(widget))
                               .arg(widget->height())
                               .arg(QFontInfo(widget->font()).family());
        }
        QVERIFY2(tooWide.isEmpty(), qPrintable(tooWide.join(QStringLiteral("; "))));

        // A bitmap face keeps its pixel size on a scaled screen, where its letters would shrink.
        const QFont font = c.lblLocation->widget()->font();
        if (f.main().form().window()->devicePixelRatioF() > 1.0)
            QVERIFY2(QFontDatabase::isSmoothlyScalable(QFontInfo(font).family()),
                     qPrintable(QFontInfo(font).family()));
    }
};

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"
