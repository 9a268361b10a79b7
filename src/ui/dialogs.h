#pragma once
// Message boxes, the open-file dialog, the folder picker and ending the program, behind one
// interface: QtDialogs shows real ones, ScriptedDialogs records and answers them in tests.

#include <QString>

#include <optional>

class QWidget;

namespace hollenby::ui {

inline const QString kAppTitle = QStringLiteral("Hollenby Systems - (Level Editor)");

enum class MsgStyle
{
    Plain,                  // OK only, no icon
    Exclamation,            // OK with the exclamation icon
    Information,            // OK with the information icon
    InformationSystemModal, // the same, modal to everything the program shows
};

// The open-file-name record: the platform's layout, with text fields as QString. Strings that
// hold several NUL-separated parts (the filter) keep their NULs.
struct OpenFileName
{
    int lStructSize = 0;
    quintptr hInstance = 0;
    QString lpstrFilter;
    int nFilterIndex = 0;
    QString lpstrFile; // in: the starting buffer; out: the chosen path, ended by a NUL
    int nMaxFile = 0;
    QString lpstrTitle;
    int Flags = 0;
    QString lpstrDefExt;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // The window message boxes belong to unless a call names another: the main window.
    void setOwner(QWidget* window) { m_owner = window; }
    QWidget* owner() const { return m_owner; }

    // Modal, one OK button, titled with the application title. "\r\n" separates lines. The box
    // belongs to `owner` (by default the owner above): it is placed over that window and stays
    // above it.
    void MsgBox(const QString& text, MsgStyle style) { showMessage(text, style, m_owner); }
    void MsgBox(const QString& text, MsgStyle style, QWidget* owner)
    {
        showMessage(text, style, owner);
    }

    // Shows the open-file dialog described by the record, with no owner window, and writes the
    // chosen path into record.lpstrFile followed by a NUL. On cancel the buffer is left as it was.
    // Returns when the dialog closes; the windows stay usable meanwhile, so it can be re-entered.
    virtual void GetOpenFileName(OpenFileName& record) = 0;

    // A folder chooser owned by `owner`, offering file-system folders only, starting at the top
    // of the file system. Gives the chosen folder's full path, or nothing when cancelled.
    virtual std::optional<QString> BrowseForFolder(QWidget* owner, const QString& prompt) = 0;

    // Ends the program at once: no further handler of any window runs.
    virtual void EndProgram() = 0;

protected:
    // MsgBox's work; `owner` may be null for a box of no window.
    virtual void showMessage(const QString& text, MsgStyle style, QWidget* owner) = 0;

private:
    QWidget* m_owner = nullptr;
};

} // namespace hollenby::ui
