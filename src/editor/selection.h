#pragma once
// Choosing and checking the level file and the resources folder, by typing a path and pressing
// Enter or with the browse buttons, and reloading with "Load Graphics".
//
// The choices live only in the two path boxes: every routine reads their current text when it
// needs a path, and a choice made in a dialog is written into its box before it is tested.

#include "maincontrols.h"

#include <QString>

namespace hollenby::ui {
class Dialogs;
}

namespace hollenby::editor {

class LevelKey;
class LevelRender;

class Selection
{
public:
    Selection(MainControls& controls, ui::Dialogs& dialogs, LevelKey& key, LevelRender& render);

    // Enter (key code 13, with any modifiers) checks the typed path; the key still reaches the
    // box as usual.
    void txtFileLocation_KeyDown(int keyCode, int shift);
    // The open-file dialog, then the same check on the chosen path.
    void cmdSelectFile_Click();
    // Refuses an empty path or one that names no file, each with its message. Otherwise shows
    // the file's size in the Step 1 caption, rebuilds the key and loads the level.
    void fnCheckLevelFile(const QString& path);

    // Enter checks the typed folder, then rebuilds the key and reloads the level.
    void txtResLocation_KeyDown(int keyCode, int shift);
    void cmdSelectRes_Click();
    // The folder picker; a folder that passes the folder test rebuilds the key and reloads.
    void fnBrowseResFolder();

    void cmdRefresh_Click();
    // Loads and renders from both boxes and says whether that worked.
    void fnRefreshLevel();

private:
    MainControls& m_c;
    ui::Dialogs& m_dialogs;
    LevelKey& m_key;
    LevelRender& m_render;

    void reportFailure(const QString& procedure);
};

} // namespace hollenby::editor
