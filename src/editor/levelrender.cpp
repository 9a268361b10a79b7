#include "levelrender.h"

#include "dialogs.h"
#include "doevents.h"
#include "files.h"
#include "grid.h"
#include "level.h"
#include "playtime.h"
#include "resourcefiles.h"
#include "rowwalk.h"
#include "runtimeerror.h"

#include <optional>
#include <string>

namespace hollenby::editor {

using ui::RuntimeError;

namespace {

const QString kOwner = QStringLiteral("Form frmMain");

// Reads the level for a render. A file that is not found is passed over, and the next step,
// taking the length of a file that never opened, fails instead.
std::string ReadLevelForRender(const QString& levelFile)
{
    try {
        return ui::ReadFileBytes(levelFile);
    } catch (const RuntimeError& error) {
        if (error.number() == RuntimeError::kFileNotFound)
            throw RuntimeError::BadFileNameOrNumber();
        throw;
    }
}

// Places the tiles of one render into the picImgs elements, yielding as it goes.
class TilePlacer
{
public:
    TilePlacer(MainControls& controls, const QString& resFolder)
        : m_c(controls), m_resFolder(resFolder)
    {}

    void beforeLine()
    {
        // A line passed over costs less than asking the clock whether the queue is due; a drawn
        // line yields again at each of its cells.
        if (m_lineYield.due())
            ui::DoEvents();
    }
    void beforeCell() { ui::DoEvents(); }

    void placeTile(std::int32_t index, std::int32_t left, std::int32_t top, std::string_view cell)
    {
        // Elements are created once and reused by every later render.
        ui::Image& tile = index > 0 ? m_c.picImgs->LoadOrGet(index) : (*m_c.picImgs)(0);
        tile.setLeft(static_cast<float>(left));
        tile.setTop(static_cast<float>(top));
        tile.setVisible(true);
        tile.clearPicture();
        // The folder keeps every character the user typed; only the file name comes from the
        // level's 8-bit text.
        const std::string file = TileBitmapFile(cell);
        if (!file.empty()) {
            const QString path = m_resFolder + QLatin1Char('\\') + ui::TextFromBytes(file);
            try {
                tile.setPicture(ui::LoadResourcePicture(path));
            } catch (const RuntimeError& error) {
                // A missing bitmap (or a missing folder) leaves a blank slot.
                if (error.number() != RuntimeError::kFileNotFound)
                    throw;
            }
        }
        tile.Refresh();
        m_c.form->Refresh();
        ui::DoEvents();
    }

    bool viewFull(std::int32_t nextTop) const
    {
        return m_c.VScroll1->Height() <= static_cast<float>(nextTop);
    }

    void overflow() { throw RuntimeError::Overflow(); }

private:
    MainControls& m_c;
    QString m_resFolder;
    ui::YieldBatch m_lineYield;
};

} // namespace

LevelRender::LevelRender(MainControls& controls, ui::Dialogs& dialogs)
    : m_c(controls), m_dialogs(dialogs)
{}

bool LevelRender::fnGoLevelRender(const QString& levelFile, const QString& resFolder)
{
    if (levelFile.isEmpty() || resFolder.isEmpty())
        return false;
    try {
        m_c.VScroll1->setMin(0);
        m_c.VScroll1->setMax(0);
        m_c.VScroll1->setEnabled(false);
        m_c.txtLvlRaw->setText(QString());

        const std::string text = ui::ReadFileBytes(levelFile);
        const auto lines = SplitLevelLines(text);
        m_c.form->setMousePointer(ui::MousePointer::Hourglass);
        m_c.txtLvlRaw->setText(ui::TextFromBytes(text));

        ui::DoEvents(static_cast<std::int64_t>(lines.size()));
        m_c.VScroll1->setMax(LevelLineCount(text) - 1 < 0 ? 0 : LevelLineCount(text) - 1);

        fnShowImagesFromY(grid::kFirstTop, levelFile, resFolder);
        m_c.VScroll1->setEnabled(true);
        m_c.form->setMousePointer(ui::MousePointer::Default);
        return true;
    } catch (...) {
        const RuntimeError error = ui::CurrentRuntimeError();
        m_c.form->setMousePointer(ui::MousePointer::Default);
        m_dialogs.MsgBox(ui::ErrorText(error, QStringLiteral("fnGoLevelRender"), kOwner),
                         ui::MsgStyle::Plain);
        return false;
    }
}

void LevelRender::fnShowImagesFromY(std::int32_t startY, const QString& levelFile,
                                    const QString& resFolder)
{
    try {
        if (startY == 0)
            startY = grid::kFirstTop;
        const std::string text = ReadLevelForRender(levelFile);
        const auto lines = SplitLevelLines(text);

        m_c.picImgs->forEach([](int, ui::Image& tile) { tile.setVisible(false); });

        TilePlacer placer(m_c, resFolder);
        WalkLevelRows(lines, startY, grid::kEditorWalk, placer);

        const std::int64_t count = LevelLineCount(text);
        ui::DoEvents(count); // once per line counted
        const std::optional<std::int16_t> seconds = EstimatedSeconds(count);
        if (!seconds)
            throw RuntimeError::Overflow();
        m_c.lblEstPlay->setCaption(QStringLiteral("est play (sec's): ") +
                                   QString::number(*seconds) + QStringLiteral(" at max speed"));
    } catch (...) {
        const RuntimeError error = ui::CurrentRuntimeError();
        m_dialogs.MsgBox(ui::ErrorText(error, QStringLiteral("fnShowImagesFromY"), kOwner),
                         ui::MsgStyle::Plain);
    }
}

void LevelRender::VScroll1_Change()
{
    const QString levelFile = m_c.txtFileLocation->Text();
    const QString resFolder = m_c.txtResLocation->Text();
    if (levelFile.isEmpty() || resFolder.isEmpty())
        return;
    m_c.form->setMousePointer(ui::MousePointer::Hourglass);
    fnShowImagesFromY(
        static_cast<std::int32_t>(std::min<std::int64_t>(600LL * m_c.VScroll1->Value(), kInt32Max)),
        levelFile, resFolder);
    m_c.form->setMousePointer(ui::MousePointer::Default);
}

} // namespace hollenby::editor
