#pragma once
// Helpers shared by the window tests.

#include "frmmain.h"
#include "maincontrols.h"
#include "scripteddialogs.h"
#include "testfiles.h"

#include <QColor>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <string_view>

namespace hollenby::testing {

// A 24-bit BMP of one colour.
bool WriteBitmap(const QString& path, const QColor& colour, int width = 40, int height = 40);

// The colour each tile code is drawn in by WriteTileSet: distinct for every code.
QColor TileColour(std::string_view code);

// Writes the 22 tile bitmaps of the table into `folder` in their TileColour.
bool WriteTileSet(const QString& folder);

// `count` lines of `row`, joined by CR LF, with a final CR LF when asked.
std::string RepeatLines(std::string_view row, int count, bool finalLineEnd);

// The visible elements of `tiles` in element order as "left,top=code", the code recognised from
// the picture's TileColour: none for a blank slot, "?" for a colour of no tile.
QStringList VisibleTiles(const ui::ControlArray<ui::Image>& tiles);

// The main window with recorded dialogs, built offscreen and shown.
class MainWindowFixture
{
public:
    MainWindowFixture();
    ~MainWindowFixture();

    ui::ScriptedDialogs dialogs;
    app::frmMain& main() { return *m_main; }
    editor::MainControls& c() { return m_main->controls(); }

    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    // A tile set in "<dir>/_resources" (no trailing separator).
    QString resources();

    // Sets the two path boxes as a user would see them, without pressing anything.
    void setPaths(const QString& levelFile, const QString& resFolder);
    // Writes "<dir>/level.lvl" and sets the paths to it and the tile set; returns its path.
    QString writeLevel(std::string_view bytes);
    // Loads a level with the tile set, as Enter in a path box does.
    bool load(const QString& levelFile);

    // VisibleTiles of the render view.
    QStringList visibleTiles() { return VisibleTiles(*c().picImgs); }

private:
    std::unique_ptr<app::frmMain> m_main;
    QString m_resources;
};

} // namespace hollenby::testing
