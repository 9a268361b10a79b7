// The main window at the keyboard and under the mouse, with real key presses and clicks
// delivered to the window: the tab order, the scroll bar's keys, buttons pressed by Enter and
// Space, and labels that lie beneath the boxes they overlap.

#include "levelrender.h"
#include "testsupport.h"

#include <QApplication>
#include <QTest>

using namespace hollenby;
using testing::MainWindowFixture;

namespace {

// A window whose keys go where the user's would: to its focus widget.
struct ActiveWindow : MainWindowFixture
{
    ActiveWindow()
    {
        QApplication::setActiveWindow(main().form().window());
        if (!QTest::qWaitForWindowActive(main().form().window()))
            qWarning("main window not active");
    }
    QWindow* window() { return main().form().window()->windowHandle(); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(window(), key, modifiers);
    }
    void type(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClick(window(), c.toLatin1());
    }
    void click(const ui::Control& control, QPoint at)
    {
        QTest::mouseClick(window(), Qt::LeftButton, {},
                          control.widget()->mapTo(main().form().window(), at));
    }
};

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void tabWalksTheWholeCycleBothWays()
    {
        ActiveWindow f;
        auto& c = f.c();
        const QList<QWidget*> cycle{c.txtFileLocation->widget(), c.cmdSelectFile->widget(),
                                    c.txtResLocation->widget(),  c.cmdSelectRes->widget(),
                                    c.cmdRefresh->widget(),      c.cmdPlay->widget(),
                                    c.cmdSaveRefresh->widget(),  c.VScroll1->widget(),
                                    c.txtLvlRaw->widget(),       c.txtFileLocation->widget()};
        QCOMPARE(QApplication::focusWidget(), cycle.first());
        for (qsizetype i = 1; i < cycle.size(); ++i) {
            f.key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), cycle[i]);
        }
        for (qsizetype i = cycle.size() - 2; i >= 0; --i) {
            f.key(Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), cycle[i]);
        }
        QCOMPARE(c.txtLvlRaw->Text(), QString()); // no tab typed into the level
    }

    void scrollBarTakesFocusAndKeys()
    {
        ActiveWindow f;
        auto& c = f.c();
        const QString level = f.path("level.lvl");
        QVERIFY(testing::WriteBytes(level, testing::RepeatLines("01,02", 40, false)));
        QVERIFY(f.main().render().fnGoLevelRender(level, f.resources()));
        f.setPaths(level, f.resources());
        int changes = 0;
        c.VScroll1->Change = [&] {
            ++changes;
            f.main().render().VScroll1_Change();
        };
        // A click below the thumb pages down once, and leaves the focus on the bar.
        f.click(*c.VScroll1, QPoint(8, c.VScroll1->widget()->height() / 2));
        QCOMPARE(QApplication::focusWidget(), c.VScroll1->widget());
        QCOMPARE(c.VScroll1->Value(), 1);
        QCOMPARE(changes, 1);
        const std::pair<Qt::Key, int> steps[] = {
            {Qt::Key_Down, 2},    {Qt::Key_PageDown, 3}, {Qt::Key_End, 39}, {Qt::Key_Up, 38},
            {Qt::Key_PageUp, 37}, {Qt::Key_Home, 0},     {Qt::Key_Up, 0}};
        int moves = 1;
        for (const auto& [key, value] : steps) {
            moves += c.VScroll1->Value() != value ? 1 : 0;
            f.key(key);
            QCOMPARE(c.VScroll1->Value(), value);
            QCOMPARE(changes, moves);
        }
        QCOMPARE(f.visibleTiles().value(0), QStringLiteral("0,600=01")); // drawn from row 1
    }

    void buttonsAnswerEnterAndSpace_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Enter") << Qt::Key_Return;
        QTest::newRow("keypad Enter") << Qt::Key_Enter;
        QTest::newRow("Space") << Qt::Key_Space;
    }

    void buttonsAnswerEnterAndSpace()
    {
        QFETCH(Qt::Key, key);
        ActiveWindow f;
        f.c().cmdRefresh->widget()->setFocus();
        f.key(key);
        // "Load Graphics" with nothing to load says so.
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Validation Error; missing level or resources folder"});
    }

    void pathBoxesTakeClicksUnderTheirLabels()
    {
        ActiveWindow f;
        auto& c = f.c();
        for (ui::TextBox* box : {c.txtFileLocation.get(), c.txtResLocation.get()}) {
            c.txtLvlRaw->widget()->setFocus();
            f.click(*box, QPoint(10, box->widget()->height() / 2));
            f.type(QStringLiteral("typed"));
            QCOMPARE(box->Text(), QStringLiteral("typed"));
        }
        QCOMPARE(c.txtLvlRaw->Text(), QString());
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
