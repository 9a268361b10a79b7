// The main window's shell: its start state, the layout rule, the menus and the About box.

#include "testsupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace hollenby;
using testing::MainWindowFixture;

class FrmMainTest : public QObject
{
    Q_OBJECT

private slots:
    void startsEmptyAndQuiet()
    {
        MainWindowFixture f;
        auto& c = f.c();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(f.main().form().Caption(), QStringLiteral("Hollenby Systems - (Level Editor)"));
        QCOMPARE(c.txtFileLocation->Text(), QString());
        QCOMPARE(c.txtResLocation->Text(), QString());
        QCOMPARE(c.txtLvlRaw->Text(), QString());
        QCOMPARE(c.fmeStep1->Caption(), QStringLiteral("Step 1 - File"));
        QCOMPARE(c.lblEstPlay->Caption(), QStringLiteral("est play (sec's):"));
        QCOMPARE(c.picImgs->Count(), 1);
        QVERIFY(!(*c.picImgs)(0).hasPicture());
        QCOMPARE(c.imgKEY->Count(), 1);
        QCOMPARE(c.lblKEY->Count(), 1);
        QCOMPARE(c.VScroll1->Max(), 0);
    }

    void controlsAtDesignPlaces()
    {
        MainWindowFixture f;
        auto& c = f.c();
        auto geometry = [](const ui::Control& control) {
            return QList<float>{control.Left(), control.Top(), control.Width(), control.Height()};
        };
        // The first layout at the design size leaves everything where it was designed.
        QCOMPARE(geometry(*c.fmeRender), (QList<float>{15, 1365, 13380, 8805}));
        QCOMPARE(geometry(*c.fmeStep1), (QList<float>{0, 120, 13380, 1215}));
        // The layout makes both 700 twips shorter than the frame, 40 less than designed.
        QCOMPARE(geometry(*c.VScroll1), (QList<float>{4710, 600, 270, 8105}));
        QCOMPARE(geometry(*c.txtLvlRaw), (QList<float>{5040, 615, 4680, 8105}));
        QCOMPARE(geometry(*c.cmdPlay), (QList<float>{1710, 285, 420, 315}));
        QCOMPARE(geometry(*c.cmdSaveRefresh), (QList<float>{5040, 285, 1800, 315}));
        QCOMPARE(geometry(*c.cmdRefresh), (QList<float>{105, 285, 1605, 315}));
        QCOMPARE(geometry(*c.lblEstPlay), (QList<float>{2145, 345, 2475, 225}));
        QCOMPARE(geometry(*c.lblSAR_Warn), (QList<float>{6795, 390, 2850, 240}));
        QCOMPARE(geometry((*c.picImgs)(0)), (QList<float>{0, 555, 600, 600}));
        QCOMPARE(geometry((*c.imgKEY)(1)), (QList<float>{9870, 555, 600, 600}));
        QCOMPARE(geometry((*c.lblKEY)(1)), (QList<float>{10515, 555, 525, 255}));
        QCOMPARE(geometry(*c.txtFileLocation), (QList<float>{2055, 285, 6990, 285}));
        QCOMPARE(geometry(*c.txtResLocation), (QList<float>{2055, 600, 6990, 285}));
        QCOMPARE(geometry(*c.cmdSelectFile), (QList<float>{9105, 285, 315, 285}));
        QCOMPARE(geometry(*c.cmdSelectRes), (QList<float>{9105, 600, 315, 285}));
        QCOMPARE(geometry(*c.lblLocation), (QList<float>{660, 285, 1710, 225}));
        QCOMPARE(geometry(*c.lblResLocation), (QList<float>{105, 615, 1980, 225}));
        // Pixels are the twips over 15, rounded.
        QCOMPARE(c.VScroll1->widget()->geometry(), QRect(314, 40, 18, 540));
        QCOMPARE(c.fmeRender->widget()->parentWidget(), f.main().form().client());
        QCOMPARE(c.picImgs->operator()(0).widget()->parentWidget(), c.fmeRender->container());
        QCOMPARE(c.txtFileLocation->widget()->parentWidget(), c.fmeStep1->container());
    }

    void captionsColoursAndKeys()
    {
        MainWindowFixture f;
        auto& c = f.c();
        QCOMPARE(c.cmdSaveRefresh->Caption(), QStringLiteral("&Save and Refresh"));
        QCOMPARE(c.cmdRefresh->Caption(), QStringLiteral("&Load Graphics"));
        QCOMPARE(c.cmdRefresh->widget()->toolTip(),
                 QStringLiteral("Click to parse level for viewing"));
        QCOMPARE(c.lblResLocation->Caption(), QStringLiteral("Level \"_resources\" folder:"));
        QCOMPARE(c.lblLocation->Caption(), QStringLiteral("Location of Level:"));
        QCOMPARE(c.lblSAR_Warn->Caption(), QStringLiteral("*Replaces contents of Location"));
        QCOMPARE(c.lblSAR_Warn->widget()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(c.lblSAR_Warn->widget()->font().bold());
        QVERIFY(!c.lblEstPlay->widget()->font().bold());
        QCOMPARE(c.txtFileLocation->widget()->palette().color(QPalette::Base),
                 QColor(0xC0, 0xFF, 0xC0));
        QCOMPARE(c.txtResLocation->widget()->palette().color(QPalette::Base),
                 QColor(0xC0, 0xFF, 0xC0));
        QCOMPARE(c.cmdSelectRes->widget()->palette().color(QPalette::Button),
                 QColor(0xE0, 0xE0, 0xE0));
        QVERIFY(!static_cast<QPushButton*>(c.cmdPlay->widget())->icon().isNull());
        QVERIFY(!static_cast<QPushButton*>(c.cmdSelectFile->widget())->icon().isNull());

        // Tab order follows the tab indexes through the controls that take focus.
        QWidget* expected[] = {c.txtFileLocation->widget(), c.cmdSelectFile->widget(),
                               c.txtResLocation->widget(),  c.cmdSelectRes->widget(),
                               c.cmdRefresh->widget(),      c.cmdPlay->widget(),
                               c.cmdSaveRefresh->widget()};
        auto nextTakingFocus = [](QWidget* widget) {
            do
                widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isEnabled());
            return widget;
        };
        for (std::size_t i = 0; i + 1 < std::size(expected); ++i)
            QCOMPARE(nextTakingFocus(expected[i]), expected[i + 1]);

        // Alt+L presses "Load Graphics".
        int clicks = 0;
        c.cmdRefresh->Click = [&clicks] { ++clicks; };
        QCOMPARE(static_cast<QPushButton*>(c.cmdRefresh->widget())->shortcut(),
                 QKeySequence(Qt::ALT | Qt::Key_L));
        QApplication::setActiveWindow(f.main().form().window());
        c.txtFileLocation->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(f.main().form().window()));
        QTest::keyClick(f.main().form().window()->windowHandle(), Qt::Key_L, Qt::AltModifier);
        QTRY_COMPARE(clicks, 1); // an access key presses the button visibly, then clicks
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

        auto* menuBar = f.main().form().window()->findChild<QMenuBar*>();
        QVERIFY(menuBar != nullptr);
        QStringList menus;
        for (auto* action : menuBar->actions())
            menus << action->text();
        QCOMPARE(menus, (QStringList{QStringLiteral("File"), QStringLiteral("Help")}));
        QCOMPARE(f.main().mnuFile(0).Caption(), QStringLiteral("E&xit"));

        f.main().mnuFile(0).trigger();
        QCOMPARE(f.dialogs.endProgramCalls, 1);
        f.main().form().window()->close();
        QCOMPARE(f.dialogs.endProgramCalls, 2);
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmmain_test.moc"
