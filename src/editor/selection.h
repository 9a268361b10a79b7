#pragma once
// Choosing and checking the level file and the resources folder, by typing a path and pressing
// Enter or with the browse buttons, and reloading with "Load Graphics".

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

    void txtFileLocation_KeyDown(int keyCode, int shift);
    void cmdSelectFile_Click();
    bool fnCheckLevelFile(const QString& path);
    void txtResLocation_KeyDown(int keyCode, int shift);
    void cmdSelectRes_Click();
    QString fnBrowseResFolder();
    void cmdRefresh_Click();
    bool fnRefreshLevel();

private:
    MainControls& m_c;
    ui::Dialogs& m_dialogs;
    LevelKey& m_key;
    LevelRender& m_render;
};

} // namespace hollenby::editor
