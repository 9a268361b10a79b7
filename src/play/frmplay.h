#pragma once
// frmPlay: the window that plays a level as a looping vertical scroll, from the end of the file
// towards its first line, until the user closes it.
//
// Setting ResFQN runs the whole playback and returns only when it has ended or failed. The
// window object outlives its playback: whoever created it keeps it until the window is closed
// and no routine that yielded can still return into it.

#include "controlarray.h"
#include "form.h"
#include "image.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace hollenby::editor {
struct MainControls;
}

namespace hollenby::play {

class frmPlay
{
public:
    // `mainControls` gives the main window's buttons that playback disables and closing the
    // window enables again, and the main window's icon.
    explicit frmPlay(editor::MainControls& mainControls);
    ~frmPlay();
    frmPlay(const frmPlay&) = delete;
    frmPlay& operator=(const frmPlay&) = delete;

    QString FileFQN() const { return sLevelFile; }
    void setFileFQN(QString sFileFQN);
    QString ResFQN() const { return sResFolder; }
    // Stores the folder and plays: returns when the window has been closed and the pass in
    // progress has finished, or throws the run-time failure that ended the playback.
    void setResFQN(QString sResFQN);

    // Draws one frame: the rows whose position (40 x (row number - 1)) is at least lY, at most
    // six, into picImgs. Fails silently: a frame that cannot finish leaves what it did so far.
    void fnShowFrameFromY(std::int32_t lY, const QString& sFile, const QString& sRes);

    void Form_Load();
    void Form_Unload();

    // Runs after each pass's frame with the offset it was asked to draw; closing the window
    // from here makes that pass the last. The one place to watch playback from outside.
    std::function<void(std::int32_t lY)> AfterFrame;

    ui::Form& form() { return *m_form; }
    const ui::ControlArray<ui::Image>& picImgs() const { return *m_picImgs; }
    bool isPlaying() const { return m_playing; }
    bool stopRequested() const { return bStopPlay; }
    std::int32_t lineCount() const { return lLineCount; }
    std::int32_t endY() const { return lEndY; }

private:
    editor::MainControls& m_main;
    std::unique_ptr<ui::Form> m_form;
    std::unique_ptr<ui::ControlArray<ui::Image>> m_picImgs;
    bool m_playing = false;

    std::int16_t iScrollStep = 0;
    std::int32_t lPlayY = 0;
    QString sLevelFile;
    QString sResFolder;
    std::int32_t lEndY = 0;
    std::int32_t lLineCount = 0;
    bool bStopPlay = false;

    void fnPlayLevel();
    std::int32_t fnCountLevelRows();
    void setMainButtonsEnabled(bool enabled);
};

} // namespace hollenby::play
