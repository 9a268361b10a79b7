#include "playlauncher.h"

#include "dialogs.h"

namespace hollenby::play {

PlayLauncher::PlayLauncher(editor::MainControls& controls, ui::Dialogs& dialogs)
    : m_c(controls), m_dialogs(dialogs)
{
}

PlayLauncher::~PlayLauncher() = default;

void PlayLauncher::cmdPlay_Click() {}

} // namespace hollenby::play
