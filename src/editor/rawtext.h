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

    // Saves the raw text box and redraws from the scroll bar's position. An empty box or an
    // empty level path is warned about; a failed write is reported and the file left as it was.
    void cmdSaveRefresh_Click();

    // Writes the raw text and one CR LF over the file named in the level path box, creating it
    // when new; a level the user may write in a folder they may not (a shared folder of levels)
    // is written in place. False, with nothing touched, when `levelFile` is empty. A failed
    // write raises its run-time error for the caller to report.
    bool fnSaveLevelFile(const QString& levelFile);

private:
    MainControls& m_c;
    ui::Dialogs& m_dialogs;
    LevelRender& m_render;
};

} // namespace hollenby::editor
