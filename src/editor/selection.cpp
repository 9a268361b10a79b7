#include "selection.h"

#include "dialogs.h"
#include "levelkey.h"
#include "levelrender.h"
#include "mdlutils.h"
#include "runtimeerror.h"

namespace hollenby::editor {

using ui::MsgStyle;
using ui::RuntimeError;

namespace {

constexpr int kEnterKey = 13;

QString ValidationError(const QString& reason)
{
    return QStringLiteral("Validation Error;\r\n\r\n") + reason;
}

} // namespace

Selection::Selection(MainControls& controls, ui::Dialogs& dialogs, LevelKey& key,
                     LevelRender& render)
    : m_c(controls), m_dialogs(dialogs), m_key(key), m_render(render)
{}

void Selection::reportFailure(const QString& procedure)
{
    const RuntimeError error = ui::CurrentRuntimeError();
    m_dialogs.MsgBox(ui::ErrorText(error, procedure, QStringLiteral("Form frmMain")),
                     MsgStyle::Plain);
}

void Selection::txtFileLocation_KeyDown(int keyCode, int /*shift*/)
{
    try {
        if (keyCode == kEnterKey)
            fnCheckLevelFile(m_c.txtFileLocation->Text());
    } catch (...) {
        reportFailure(QStringLiteral("txtFileLocation_KeyDown"));
    }
}

void Selection::cmdSelectFile_Click()
{
    const QString chosen = utils::TrimSpaces(
        utils::ShowOpenDialog(m_dialogs, QStringLiteral("Select Level to Render "),
                              QStringLiteral("Hollenby Level|*.lvl"), QStringLiteral("lvl")));
    // A cancelled dialog gives nothing, and nothing is said about it.
    if (!chosen.isEmpty())
        fnCheckLevelFile(chosen);
}

void Selection::fnCheckLevelFile(const QString& path)
{
    // Only a truly empty path is refused here; one of spaces goes on to the file test.
    if (path.isEmpty()) {
        m_dialogs.MsgBox(ValidationError(QStringLiteral("Please type in a file name.")),
                         MsgStyle::Information);
        return;
    }
    // The box shows the path being tested, also when it fails the test.
    m_c.txtFileLocation->setText(path);
    if (!utils::FileExists(m_c.txtFileLocation->Text())) {
        m_dialogs.MsgBox(ValidationError(QStringLiteral("File Not Exists, please check location.")),
                         MsgStyle::Information);
        return;
    }
    m_c.fmeStep1->setCaption(QStringLiteral("Step 1 - File (") +
                             utils::FileSizeText(m_c.txtFileLocation->Text()) +
                             QStringLiteral(")"));
    // The key first, then the level; the resources folder is whatever the box holds now, and
    // the key and the render say for themselves what is wrong with it.
    m_key.fnLoadKey(m_c.txtResLocation->Text());
    m_render.fnGoLevelRender(m_c.txtFileLocation->Text(), m_c.txtResLocation->Text());
}

void Selection::txtResLocation_KeyDown(int keyCode, int /*shift*/)
{
    try {
        if (keyCode != kEnterKey)
            return;
        if (!utils::DirExists(m_dialogs, m_c.txtResLocation->Text())) {
            m_dialogs.MsgBox(ValidationError(QStringLiteral("Directory not exists")),
                             MsgStyle::Information);
            return;
        }
        if (!m_c.txtResLocation->Text().isEmpty()) {
            m_key.fnLoadKey(m_c.txtResLocation->Text());
            fnRefreshLevel();
        }
    } catch (...) {
        reportFailure(QStringLiteral("txtResLocation_KeyDown"));
    }
}

void Selection::cmdSelectRes_Click()
{
    fnBrowseResFolder();
}

void Selection::fnBrowseResFolder()
{
    try {
        const std::optional<QString> folder =
            m_dialogs.BrowseForFolder(m_c.form->window(), QStringLiteral("Select a Folder"));
        // Cancelled: the box keeps its text and nothing is said.
        if (!folder)
            return;
        m_c.txtResLocation->setText(*folder);
        // A picked folder that fails the test stays in the box without a word.
        if (!m_c.txtResLocation->Text().isEmpty() &&
            utils::DirExists(m_dialogs, m_c.txtResLocation->Text())) {
            m_key.fnLoadKey(m_c.txtResLocation->Text());
            fnRefreshLevel();
        }
    } catch (...) {
        // Reported under the button's name, which is what the user pressed.
        reportFailure(QStringLiteral("cmdSelectRes_Click"));
    }
}

void Selection::cmdRefresh_Click()
{
    fnRefreshLevel();
}

void Selection::fnRefreshLevel()
{
    // No test of its own: a missing file or folder is reported by the render, then here.
    if (m_render.fnGoLevelRender(m_c.txtFileLocation->Text(), m_c.txtResLocation->Text()))
        m_dialogs.MsgBox(QStringLiteral("Level parsed and loaded ok"), MsgStyle::Information);
    else
        m_dialogs.MsgBox(QStringLiteral("Validation Error; missing level or resources folder"),
                         MsgStyle::Exclamation);
}

} // namespace hollenby::editor
