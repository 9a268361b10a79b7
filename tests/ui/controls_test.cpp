// The toolkit layer's promises that the routines rely on: twips kept as set, control arrays,
// pictures and their failures, and the scroll bar's change event.

#include "controlarray.h"
#include "controls.h"
#include "image.h"
#include "picture.h"
#include "runtimeerror.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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

QImage Blue()
{
    QImage picture(40, 40, QImage::Format_RGB888);
    picture.fill(Qt::blue);
    return picture;
}

QByteArray Encoded(const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Blue().save(&buffer, format);
    return bytes;
}

// One pixel; Qt reads GIF but does not write it.
const QByteArray kGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01\x00"
                      "\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;",
                      43);

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

    // Each row: a file's name and content ("<none>": no such file; "<folder>", "<pipe>": that
    // instead of a file), and the error loading it as a picture gives, 0 for none.
    void loadPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        const QByteArray bmp = Encoded("BMP");
        QTest::newRow("missing file") << "01.bmp" << QByteArray("<none>") << 53;
        QTest::newRow("a folder") << "01.bmp" << QByteArray("<folder>") << 75;
        QTest::newRow("a pipe") << "01.bmp" << QByteArray("<pipe>") << 75;
        // Known by their content, whatever the name says.
        QTest::newRow("PNG named .bmp") << "01.bmp" << Encoded("PNG") << 0;
        QTest::newRow("JPEG named .bmp") << "01.bmp" << Encoded("JPEG") << 0;
        QTest::newRow("ICO named .bmp") << "01.bmp" << Encoded("ICO") << 0;
        QTest::newRow("GIF named .bmp") << "01.bmp" << kGif << 0;
        QTest::newRow("BMP named .png") << "01.png" << bmp << 0;
        // Qt reads these text formats by content too; they are no pictures here.
        QTest::newRow("XPM") << "01.bmp" << Encoded("XPM") << 481;
        QTest::newRow("level text") << "01.bmp" << QByteArray("01,02,03") << 481;
        QTest::newRow("BMP header cut short") << "01.bmp" << bmp.left(30) << 481;
    }

    void loadPicture()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        QTemporaryDir dir;
        QFile file(dir.filePath(name));
        if (content == "<folder>")
            QVERIFY(QDir().mkdir(file.fileName()));
        else if (content == "<pipe>")
            QCOMPARE(::mkfifo(QFile::encodeName(file.fileName()).constData(), 0600), 0);
        else if (content != "<none>")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QImage loaded;
        QCOMPARE(ErrorNumberOf([&] { loaded = LoadPicture(file.fileName()); }), number);
        QCOMPARE(loaded.isNull(), number != 0);
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

        // Dragging the thumb: nothing while it moves, once when released.
        QScrollBar* q = bar.scrollBar();
        q->setSliderDown(true);
        q->setSliderPosition(40);
        q->setSliderPosition(60);
        QCOMPARE(changes, 1);
        q->setSliderDown(false);
        QCOMPARE(changes, 2);
        QCOMPARE(bar.Value(), 60);

        QCOMPARE(ErrorNumberOf([&] { bar.setMax(32768); }), 6);
        QCOMPARE(ErrorNumberOf([&] { bar.setMax(32767); }), 0);
    }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
