#include "rawtext.h"

#include "dialogs.h"
#include "files.h"
#include "levelrender.h"
#include "runtimeerror.h"

#include <string>

namespace hollenby::editor {

RawTextSave::RawTextSave(MainControls& controls, ui::Dialogs& dialogs, LevelRender& render)
    : m_c(controls), m_dialogs(dialogs), m_render(render)
{}

void RawTextSave::cmdSaveRefresh_Click()
{
    if (m_c.txtLvlRaw->Text().isEmpty()) {
        m_dialogs.MsgBox(QStringLiteral("Validation Error; no level data to save"),
                         ui::MsgStyle::Exclamation);
        return;
    }
    bool saved = false;
    try {
        saved = fnSaveLevelFile(m_c.txtFileLocation->Text());
    } catch (...) {
        const ui::RuntimeError error = ui::CurrentRuntimeError();
        m_dialogs.MsgBox(ui::ErrorText(error, QStringLiteral("cmdSaveRefresh_Click"),
                                       QStringLiteral("Form frmMain")),
                         ui::MsgStyle::Plain);
        return;
    }
    if (saved) {
        // Redraws from the file just written; the scroll range stays as the last load set it.
        m_render.VScroll1_Change();
    } else {
        m_dialogs.MsgBox(QStringLiteral("Validation Error; missing level or resources folder"),
                         ui::MsgStyle::Exclamation);
    }
}

bool RawTextSave::fnSaveLevelFile(const QString& levelFile)
{
    if (levelFile.isEmpty())
        return false;
    std::string bytes = ui::BytesFromText(m_c.txtLvlRaw->Text());
    bytes += "\r\n";
    // The path box is read again rather than trusting the argument: its only caller passes that
    // same text, and the box is where the user sees the file that will be replaced.
    ui::WriteFileBytesSafely(m_c.txtFileLocation->Text(), bytes,
                             ui::InPlaceFallback::WhenRefusedOnly);
    return true;
}

} // namespace hollenby::editor
