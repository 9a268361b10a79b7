#include "playlauncher.h"

#include "dialogs.h"
#include "frmplay.h"
#include "runtimeerror.h"

#include <algorithm>

namespace hollenby::play {

PlayLauncher::PlayLauncher(editor::MainControls& controls, ui::Dialogs& dialogs)
    : m_c(controls), m_dialogs(dialogs)
{}

PlayLauncher::~PlayLauncher() = default;

void PlayLauncher::cmdPlay_Click()
{
    releaseClosedWindows();
    try {
        // The play window keeps its own copies: editing the boxes later changes nothing.
        const QString levelFile = m_c.txtFileLocation->Text();
        const QString resFolder = m_c.txtResLocation->Text();
        // Only emptiness is refused; a missing file shows up as the playback's own failure.
        if (levelFile.isEmpty() || resFolder.isEmpty()) {
            m_dialogs.MsgBox(
                QStringLiteral(
                    "Validation Error;\r\n\r\nPlease check your file and level location."),
                ui::MsgStyle::InformationSystemModal);
            return;
        }
        m_windows.push_back(std::make_unique<frmPlay>(m_c));
        frmPlay& play = *m_windows.back();
        if (PlayWindowCreated)
            PlayWindowCreated(play);
        play.setFileFQN(levelFile);
        play.setResFQN(resFolder);
    } catch (...) {
        const ui::RuntimeError error = ui::CurrentRuntimeError();
        // A failure once the play window is shown is told over it, where the user looks.
        QWidget* owner = m_dialogs.owner();
        if (!m_windows.empty() && m_windows.back()->form().isShown())
            owner = m_windows.back()->form().window();
        m_dialogs.MsgBox(
            ui::ErrorText(error, QStringLiteral("cmdPlay_Click"), QStringLiteral("Form frmMain")),
            ui::MsgStyle::Plain, owner);
    }
    releaseClosedWindows();
}

void PlayLauncher::releaseClosedWindows()
{
    // Only a window that is closed and whose playback has returned can go: nothing can return
    // into it any more.
    std::erase_if(m_windows, [](const std::unique_ptr<frmPlay>& play) {
        return !play->isPlaying() && !play->form().isShown();
    });
}

} // namespace hollenby::play
