// The main window's shell: every caption the layout gives a control fits it, measured with the
// font the control really draws with (also on a screen scaled to 200 %, see CMakeLists.txt);
// where a few controls land on screen, the layout rule, leaving, and the About box. The menus
// themselves are used by the real-display test; the tab order and the keys by the desktop test.

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
using testing::MainWindowFixture;

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

class FrmMainTest : public QObject
{
    Q_OBJECT

private slots:
    void captionsFitTheirControls()
    {
        MainWindowFixture f;
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

    // In pixels of the window's client area, through the frames they sit in; the first layout
    // has made the scroll bar 700 twips shorter than its frame.
    void controlsOnScreen()
    {
        MainWindowFixture f;
        auto& c = f.c();
        const QWidget* client = f.main().form().client();
        auto onScreen = [client](const ui::Control& control) {
            return QRect(control.widget()->mapTo(client, QPoint()), control.widget()->size());
        };
        QCOMPARE(onScreen(*c.txtFileLocation), QRect(137, 27, 466, 19));
        QCOMPARE(onScreen(*c.VScroll1), QRect(315, 131, 18, 540));
        QCOMPARE(onScreen((*c.picImgs)(0)), QRect(1, 128, 40, 40));
    }

    void resizeMovesOnlyTheFramesAndTheirTallControls()
    {
        MainWindowFixture f;
        auto& c = f.c();
        auto& form = f.main().form();
        form.setWidth(form.Width() + 700);
        form.setHeight(form.Height() + 700);
        QTRY_COMPARE(c.fmeRender->Height(), 8805.0F + 700);
        QCOMPARE(c.fmeStep1->Width(), 13380.0F + 700);
        QCOMPARE(c.fmeRender->Width(), 13380.0F + 700);
        QCOMPARE(c.txtLvlRaw->Height(), 8105.0F + 700);
        QCOMPARE(c.VScroll1->Height(), 8105.0F + 700);
        QCOMPARE(c.fmeStep1->Height(), 1215.0F);
        QCOMPARE(c.txtLvlRaw->Width(), 4680.0F);
        QCOMPARE(c.VScroll1->Left(), 4710.0F);

        // Too small for the layout: the sizes stop at zero instead of going negative.
        form.setHeight(1000);
        QTRY_COMPARE(c.fmeRender->Height(), 0.0F);
        QCOMPARE(c.txtLvlRaw->Height(), 0.0F);
        QCOMPARE(c.VScroll1->Height(), 0.0F);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void aboutAndExit()
    {
        MainWindowFixture f;
        f.main().mnuHelp(0).trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("Hollenby Systems (Level Editor)\r\n\r\nv0.6.0"));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Hollenby Systems - (Level Editor)"));
        QCOMPARE(f.dialogs.messages[0].style, ui::MsgStyle::Information);
        QCOMPARE(f.dialogs.messages[0].owner, f.main().form().window());

        f.main().mnuFile(0).trigger();
        QCOMPARE(f.dialogs.endProgramCalls, 1);
        f.main().form().window()->close();
        QCOMPARE(f.dialogs.endProgramCalls, 2);
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmmain_test.moc"
