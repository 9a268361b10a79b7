#include "frmplay.h"

#include "doevents.h"
#include "files.h"
#include "grid.h"
#include "level.h"
#include "maincontrols.h"
#include "playoffsets.h"
#include "resourcefiles.h"
#include "rowwalk.h"
#include "runtimeerror.h"

#include <QIcon>
#include <QWidget>

#include <string>
#include <vector>

namespace hollenby::play {

using ui::RuntimeError;

namespace {

// The window works in pixels. Its outer size is its client area plus an allowance for a plain
// border and title bar; only the client area is ever laid out.
constexpr double kPixels = 1.0;
constexpr float kBorderWidth = 8;
constexpr float kBorderHeight = 30;

constexpr std::int16_t kScrollStep = -25;
// Below this offset the scroll starts again from the end, so the six rows that come first in a
// level never come into view.
constexpr std::int32_t kWrapBelow = 240;

// Ends a frame whose window was closed during one of its yields, before it touches anything more.
struct WindowClosed
{
};

// Places the tiles of one frame into picImgs. Elements keep whatever an earlier frame gave them
// until this frame reaches them; the frame yields before every line and every cell, and a close
// during any of those yields ends it on the spot.
class FramePlacer
{
public:
    FramePlacer(ui::ControlArray<ui::Image>& tiles, const bool& stopRequested,
                std::string resFolder)
        : m_tiles(tiles), m_stopRequested(stopRequested), m_resFolder(std::move(resFolder))
    {}

    void beforeLine()
    {
        // A line that is not drawn takes a few nanoseconds, less than asking the clock whether
        // the queue is due; a run of them shares one yield, which still comes well within the
        // yield interval.
        if (m_lineYield.due())
            yield();
        else
            stopIfClosed();
    }
    void beforeCell() { yield(); }

    void placeTile(std::int32_t index, std::int32_t left, std::int32_t top, std::string_view cell)
    {
        ui::Image& tile = index > 0 ? m_tiles.LoadOrGet(index) : m_tiles(0);
        tile.setLeft(static_cast<float>(left));
        tile.setTop(static_cast<float>(top));
        tile.clearPicture();
        const std::string path = TileBitmapPath(m_resFolder, cell);
        if (path.empty())
            return;
        try {
            tile.setPicture(ui::LoadResourcePicture(QString::fromStdString(path)));
        } catch (const RuntimeError& error) {
            // A missing bitmap, or a missing resources folder, leaves the slot blank; a bitmap
            // that is there but unusable ends the frame.
            if (error.number() != RuntimeError::kFileNotFound)
                throw;
        }
    }

    bool viewFull(std::int32_t nextTop) const { return nextTop >= grid::kPlayViewHeight; }

    void overflow() { throw RuntimeError::Overflow(); }

private:
    ui::ControlArray<ui::Image>& m_tiles;
    const bool& m_stopRequested;
    // UTF-8, so a folder name outside Latin-1 comes back unchanged from the built path.
    std::string m_resFolder;

    ui::YieldBatch m_lineYield;

    void stopIfClosed() const
    {
        if (m_stopRequested)
            throw WindowClosed{};
    }

    void yield()
    {
        ui::DoEvents();
        stopIfClosed();
    }
};

} // namespace

frmPlay::frmPlay(editor::MainControls& mainControls)
    : m_main(mainControls), m_form(std::make_unique<ui::Form>(kPixels, kBorderWidth, kBorderHeight))
{
    m_form->setCaption(QStringLiteral("View Level (looping)"));
    if (m_main.form != nullptr) {
        m_form->setIcon(m_main.form->window()->windowIcon());
        // It opens centred on the screen the main window is on.
        m_form->setScreenOf(*m_main.form);
    }
    m_form->setClientPixels(grid::kPlayWidth, grid::kPlayHeight);

    auto first = std::make_unique<ui::Image>(m_form->client(), kPixels);
    first->Move(0, 0, grid::kPlayPitch, grid::kPlayPitch);
    m_picImgs = std::make_unique<ui::ControlArray<ui::Image>>(0, std::move(first));

    m_form->Unload = [this] { Form_Unload(); };
    Form_Load();
}

frmPlay::~frmPlay()
{
    // A window still open when its owner goes must not reach back into the main window.
    m_form->Unload = nullptr;
}

void frmPlay::setFileFQN(QString sFileFQN)
{
    sLevelFile = std::move(sFileFQN);
}

void frmPlay::setResFQN(QString sResFQN)
{
    sResFolder = std::move(sResFQN);
    m_playing = true;
    struct Ended
    {
        bool& playing;
        ~Ended() { playing = false; }
    } ended{m_playing};
    fnPlayLevel();
}

void frmPlay::Form_Load()
{
    // Nothing to prepare: a new window is made for every playback.
}

void frmPlay::Form_Unload()
{
    bStopPlay = true;
    setMainButtonsEnabled(true);
}

void frmPlay::setMainButtonsEnabled(bool enabled)
{
    m_main.cmdPlay->setEnabled(enabled);
    m_main.cmdRefresh->setEnabled(enabled);
    m_main.cmdSaveRefresh->setEnabled(enabled);
    m_main.cmdSelectFile->setEnabled(enabled);
    m_main.cmdSelectRes->setEnabled(enabled);
}

void frmPlay::fnPlayLevel()
{
    if (sResFolder.isEmpty() || sLevelFile.isEmpty())
        return;
    m_form->centre();
    m_form->Show();
    setMainButtonsEnabled(false);

    iScrollStep = kScrollStep;
    lPlayY = 0;
    lLineCount = fnCountLevelRows();
    lEndY = MultiplyOffsets(lLineCount, grid::kPlayPitch);
    lPlayY = SubtractOffsets(lEndY, grid::kPlayViewHeight);

    for (;;) {
        if (lPlayY < kWrapBelow) {
            lPlayY = lEndY;
            fnShowFrameFromY(lPlayY, FileFQN(), ResFQN());
            if (AfterFrame)
                AfterFrame(lPlayY);
            lPlayY = SubtractOffsets(lPlayY, iScrollStep);
        } else {
            fnShowFrameFromY(lPlayY, FileFQN(), ResFQN());
            if (AfterFrame)
                AfterFrame(lPlayY);
            lPlayY = AddOffsets(lPlayY, iScrollStep);
        }
        const bool lastPass = bStopPlay;
        m_form->Refresh();
        ui::DoEventsNow();
        if (lastPass)
            return;
    }
}

std::int32_t frmPlay::fnCountLevelRows()
{
    // No failure is handled here: a level that cannot be read ends the playback.
    const std::string text = ui::ReadFileBytes(sLevelFile);
    const std::int64_t count = LevelLineCount(text);
    ui::DoEvents(count); // once per line counted
    return NarrowCount(count);
}

void frmPlay::fnShowFrameFromY(std::int32_t lY, const QString& sFile, const QString& sRes)
{
    // Nothing is drawn into a closed window.
    if (bStopPlay)
        return;
    try {
        const std::string text = ui::ReadFileBytes(sFile);
        const std::vector<std::string_view> lines = SplitLevelLines(text);
        FramePlacer placer(*m_picImgs, bStopPlay, sRes.toStdString());
        WalkLevelRows(lines, lY, grid::kPlayWalk, placer);
        // Every element shows, those this frame did not reach included: where it drew less than
        // an earlier frame, the earlier tiles stay on screen.
        m_picImgs->forEach([](int, ui::Image& tile) { tile.setVisible(true); });
    } catch (...) {
        // The frame ends where it failed, without a word; the next pass draws afresh.
    }
}

} // namespace hollenby::play
