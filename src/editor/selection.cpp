#include "selection.h"

#include "dialogs.h"
#include "levelkey.h"
#include "levelrender.h"

namespace hollenby::editor {

Selection::Selection(MainControls& controls, ui::Dialogs& dialogs, LevelKey& key, LevelRender& render)
    : m_c(controls), m_dialogs(dialogs), m_key(key), m_render(render)
{
}

void Selection::txtFileLocation_KeyDown(int, int) {}
void Selection::cmdSelectFile_Click() {}
bool Selection::fnCheckLevelFile(const QString&)
{
    return false;
}
void Selection::txtResLocation_KeyDown(int, int) {}
void Selection::cmdSelectRes_Click() {}
QString Selection::fnBrowseResFolder()
{
    return {};
}
void Selection::cmdRefresh_Click() {}
bool Selection::fnRefreshLevel()
{
    return false;
}

} // namespace hollenby::editor
