#pragma once
// The main window's play button: opens a play window on the current level and resources.

#include "maincontrols.h"

#include <functional>
#include <memory>
#include <vector>

namespace hollenby::ui {
class Dialogs;
}

namespace hollenby::play {

class frmPlay;

class PlayLauncher
{
public:
    PlayLauncher(editor::MainControls& controls, ui::Dialogs& dialogs);
    ~PlayLauncher();
    PlayLauncher(const PlayLauncher&) = delete;
    PlayLauncher& operator=(const PlayLauncher&) = delete;

    // Plays the level named in the path boxes with the resources named there; returns when the
    // play window has been closed or the playback failed.
    void cmdPlay_Click();

    // Runs with every new play window before its playback starts, so a caller can watch it.
    std::function<void(frmPlay&)> PlayWindowCreated;

private:
    editor::MainControls& m_c;
    ui::Dialogs& m_dialogs;
    // Play windows still open after their playback ended: one whose start failed stays open,
    // with the buttons disabled, until the user closes it.
    std::vector<std::unique_ptr<frmPlay>> m_windows;

    void releaseClosedWindows();
};

} // namespace hollenby::play
