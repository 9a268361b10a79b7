// The main window's shell: its start state, where a few controls land on screen, the layout rule,
// the tab order and an access key, leaving, and the About box. The menus themselves are used by
// the real-display test.

#include "testsupport.h"

#include <QApplication>
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
        QCOMPARE(c.txtFileLocation->Text(), QString());
        QCOMPARE(c.txtResLocation->Text(), QString());
        QCOMPARE(c.txtLvlRaw->Text(), QString());
        QCOMPARE(c.picImgs->Count(), 1);
        QVERIFY(!(*c.picImgs)(0).hasPicture());
        QCOMPARE(c.imgKEY->Count(), 1);
        QCOMPARE(c.lblKEY->Count(), 1);
        QCOMPARE(c.VScroll1->Max(), 0);
        QVERIFY(c.txtFileLocation->widget()->hasFocus());
    }

    // In pixels of the window's client area, through the frames they sit in; the first layout
    // has made the scroll bar and the raw text 700 twips shorter than their frame.
    void controlsOnScreen()
    {
        MainWindowFixture f;
        auto& c = f.c();
        const QWidget* client = f.main().form().client();
        auto onScreen = [client](const ui::Control& control) {
            return QRect(control.widget()->mapTo(client, QPoint()), control.widget()->size());
        };
        QCOMPARE(onScreen(*c.txtFileLocation), QRect(137, 27, 466, 19));
        QCOMPARE(onScreen(*c.cmdSelectRes), QRect(607, 48, 21, 19));
        QCOMPARE(onScreen(*c.VScroll1), QRect(315, 131, 18, 540));
        QCOMPARE(onScreen(*c.txtLvlRaw), QRect(337, 132, 312, 540));
        QCOMPARE(onScreen((*c.picImgs)(0)), QRect(1, 128, 40, 40));
    }

    void tabOrderAndAccessKey()
    {
        MainWindowFixture f;
        auto& c = f.c();
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
        QCOMPARE(f.dialogs.messages[0].owner, f.main().form().window());

        f.main().mnuFile(0).trigger();
        QCOMPARE(f.dialogs.endProgramCalls, 1);
        f.main().form().window()->close();
        QCOMPARE(f.dialogs.endProgramCalls, 2);
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmmain_test.moc"
