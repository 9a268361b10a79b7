#pragma once
// Saving the raw level text over the level file and redrawing the view from it.

#include "maincontrols.h"

#include <QString>

namespace hollenby::ui {
class Dialogs;
}

namespace hollenby::editor {

class LevelRender;

class RawTextSave
{
public:
    RawTextSave(MainControls& controls, ui::Dialogs& dialogs, LevelRender& render);

    void cmdSaveRefresh_Click();
    void fnSaveLevelFile(const QString& levelFile, const QString& text);

private:
    MainControls& m_c;
    ui::Dialogs& m_dialogs;
    LevelRender& m_render;
};

} // namespace hollenby::editor
