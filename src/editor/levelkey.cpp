#include "levelkey.h"

#include "dialogs.h"

namespace hollenby::editor {

LevelKey::LevelKey(MainControls& controls, ui::Dialogs& dialogs) : m_c(controls), m_dialogs(dialogs)
{
}

void LevelKey::fnLoadKey(const QString& resFolder)
{
    (void)resFolder;
}

} // namespace hollenby::editor
