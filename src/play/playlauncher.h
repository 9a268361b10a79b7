#pragma once
// The main window's play button: opens a play window on the current level and resources.

#include "maincontrols.h"

namespace hollenby::ui {
class Dialogs;
}

namespace hollenby::play {

class PlayLauncher
{
public:
    PlayLauncher(editor::MainControls& controls, ui::Dialogs& dialogs);
    ~PlayLauncher();

    void cmdPlay_Click();

private:
    editor::MainControls& m_c;
    ui::Dialogs& m_dialogs;
};

} // namespace hollenby::play
