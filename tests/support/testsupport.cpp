#include "testsupport.h"

#include "doevents.h"
#include "level.h"
#include "levelrender.h"

#include <QDir>
#include <QImage>
#include <QTest>

namespace hollenby::testing {

bool WriteBitmap(const QString& path, const QColor& colour, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    return image.save(path, "BMP");
}

QColor TileColour(std::string_view code)
{
    const auto& codes = TileCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == code)
            // Through 8-bit RGB, so the colour compares equal to what a decoded bitmap gives back.
            return QColor(
                QColor::fromHsv(static_cast<int>(i) * 16, 200, 120 + static_cast<int>(i % 4) * 40)
                    .rgb());
    }
    return Qt::black;
}

bool WriteTileSet(const QString& folder)
{
    QDir().mkpath(folder);
    for (const auto code : TileCodes()) {
        const QString file = QString::fromStdString(TileBitmapFile(code));
        if (!WriteBitmap(folder + QLatin1Char('/') + file, TileColour(code)))
            return false;
    }
    return true;
}

std::string RepeatLines(std::string_view row, int count, bool finalLineEnd)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i != 0)
            text.append("\r\n");
        text.append(row);
    }
    if (finalLineEnd)
        text.append("\r\n");
    return text;
}

MainWindowFixture::MainWindowFixture()
{
    // Tests deliver events from inside particular yields; serve the queue at every one.
    ui::SetYieldInterval(0);
    m_main = std::make_unique<app::frmMain>(dialogs);
    m_main->Show();
    if (!QTest::qWaitForWindowExposed(m_main->form().window()))
        qWarning("main window not exposed");
}

MainWindowFixture::~MainWindowFixture() = default;

QString MainWindowFixture::resources()
{
    if (m_resources.isEmpty()) {
        m_resources = path(QStringLiteral("_resources"));
        WriteTileSet(m_resources);
    }
    return m_resources;
}

void MainWindowFixture::setPaths(const QString& levelFile, const QString& resFolder)
{
    c().txtFileLocation->setText(levelFile);
    c().txtResLocation->setText(resFolder);
}

QString MainWindowFixture::writeLevel(std::string_view bytes)
{
    const QString level = path(QStringLiteral("level.lvl"));
    if (!WriteBytes(level, bytes))
        qWarning("cannot write %s", qPrintable(level));
    setPaths(level, resources());
    return level;
}

bool MainWindowFixture::load(const QString& levelFile)
{
    return m_main->render().fnGoLevelRender(levelFile, resources());
}

QStringList VisibleTiles(const ui::ControlArray<ui::Image>& tiles)
{
    QStringList shown;
    tiles.forEach([&shown](int, const ui::Image& tile) {
        if (!tile.Visible())
            return;
        QString code;
        if (tile.hasPicture()) {
            const QColor colour = tile.Picture().toImage().pixelColor(5, 5);
            code = QStringLiteral("?");
            for (const auto candidate : TileCodes()) {
                if (TileColour(candidate) == colour)
                    code = QString::fromLatin1(candidate.data(), 2);
            }
        }
        shown << QStringLiteral("%1,%2=%3").arg(tile.Left()).arg(tile.Top()).arg(code);
    });
    return shown;
}

} // namespace hollenby::testing
