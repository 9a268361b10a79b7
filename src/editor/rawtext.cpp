#include "rawtext.h"

#include "dialogs.h"
#include "levelrender.h"

namespace hollenby::editor {

RawTextSave::RawTextSave(MainControls& controls, ui::Dialogs& dialogs, LevelRender& render)
    : m_c(controls), m_dialogs(dialogs), m_render(render)
{
}

void RawTextSave::cmdSaveRefresh_Click() {}

void RawTextSave::fnSaveLevelFile(const QString&, const QString&) {}

} // namespace hollenby::editor
