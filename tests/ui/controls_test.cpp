// The toolkit layer's promises that the routines rely on: twips kept as set, control arrays,
// pictures and their failures, and the scroll bar's change event.

#include "controlarray.h"
#include "controls.h"
#include "image.h"
#include "picture.h"
#include "runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace hollenby::ui;

namespace {

int ErrorNumberOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

class ControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void twipsAreKeptAsSetAndRoundedWhenApplied()
    {
        QWidget parent;
        Label label(&parent, 15);
        label.Move(10515, 555, 525, 255);
        label.setTop(label.Top() + 7.5F); // 37.5 px rounds away from zero
        QCOMPARE(label.Top(), 562.5F);
        QCOMPARE(label.widget()->geometry(), QRect(701, 38, 35, 17));
        for (int i = 0; i < 10; ++i)
            label.setLeft(label.Left() + 7.5F); // half a pixel a step
        QCOMPARE(label.Left(), 10590.0F);       // no drift from rounding each step
        QCOMPARE(label.widget()->x(), 706);
        label.setHeight(-300); // shown as nothing, kept as set
        QCOMPARE(label.Height(), -300.0F);
        QCOMPARE(label.widget()->height(), 0);
    }

    void controlArraysCreateHiddenCopiesOnce()
    {
        QWidget parent;
        auto first = std::make_unique<Image>(&parent, 15);
        first->Move(0, 555, 600, 600);
        first->setTag(QStringLiteral("tile"));
        ControlArray<Image> images(0, std::move(first));
        Image& second = images.Load(1);
        QVERIFY(!second.Visible());
        QCOMPARE(second.Top(), 555.0F);
        QCOMPARE(second.Tag(), QStringLiteral("tile"));
        QCOMPARE(second.widget()->parentWidget(), &parent);
        QCOMPARE(ErrorNumberOf([&] { images.Load(1); }), 360);
        QCOMPARE(ErrorNumberOf([&] { images(7); }), 340);
        QCOMPARE(&images.LoadOrGet(1), &second);
        images.Load(5);
        QCOMPARE(images.LBound(), 0);
        QCOMPARE(images.UBound(), 5);
        QCOMPARE(images.Count(), 3);
    }

    void picturesShowAtTheirOwnSize()
    {
        QWidget parent;
        Image image(&parent, 15);
        image.Move(0, 0, 600, 600);
        QImage picture(24, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        image.setPicture(picture);
        QCOMPARE(image.Width(), 360.0F);
        QCOMPARE(image.Height(), 450.0F);
        QCOMPARE(image.widget()->size(), QSize(24, 30));
        image.clearPicture();
        QVERIFY(!image.hasPicture());
        QCOMPARE(image.widget()->size(), QSize(24, 30)); // clearing keeps the size
    }

    void loadPictureFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("a bitmap") << "good.bmp" << 0;
        QTest::newRow("a bitmap by a backslash path") << "sub\\good.bmp" << 0;
        QTest::newRow("missing file") << "missing.bmp" << 53;
        QTest::newRow("missing folder on the way") << "nowhere/01.bmp" << 53;
        QTest::newRow("a folder") << "sub" << 75;
        QTest::newRow("not a picture") << "text.bmp" << 481;
    }

    void loadPictureFailures()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        QImage picture(40, 40, QImage::Format_RGB888);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(dir.filePath("good.bmp"), "BMP"));
        QVERIFY(picture.save(dir.filePath("sub/good.bmp"), "BMP"));
        QFile text(dir.filePath("text.bmp"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("01,02,03");
        text.close();

        QImage loaded;
        QCOMPARE(ErrorNumberOf([&] { loaded = LoadPicture(dir.path() + "/" + name); }), number);
        if (number == 0)
            QCOMPARE(loaded.size(), QSize(40, 40));
    }

    void scrollBarChangesOncePerCompletedMove()
    {
        QWidget parent;
        VScrollBar bar(&parent, 15);
        bar.Move(0, 0, 270, 3000);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        bar.setMax(100);
        int changes = 0;
        bar.Change = [&changes] { ++changes; };

        bar.setValue(10); // by code: no event
        QCOMPARE(changes, 0);
        bar.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(changes, 1);
        bar.scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(bar.Value(), 12); // steps of 1
        QCOMPARE(changes, 2);

        // Dragging the thumb: nothing while it moves, once when released.
        QScrollBar* q = bar.scrollBar();
        q->setSliderDown(true);
        q->setSliderPosition(40);
        q->setSliderPosition(60);
        QCOMPARE(changes, 2);
        q->setSliderDown(false);
        QCOMPARE(changes, 3);
        QCOMPARE(bar.Value(), 60);

        QCOMPARE(ErrorNumberOf([&] { bar.setMax(32768); }), 6);
        QCOMPARE(ErrorNumberOf([&] { bar.setMax(32767); }), 0);
    }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
