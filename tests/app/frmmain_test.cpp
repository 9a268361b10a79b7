// The main window's shell: where a few controls land on screen, the layout rule, leaving, and the
// About box. The menus themselves are used by the real-display test; the tab order and the keys
// by the desktop test.

#include "testsupport.h"

#include <QTest>

using namespace hollenby;
using testing::MainWindowFixture;

class FrmMainTest : public QObject
{
    Q_OBJECT

private slots:
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
