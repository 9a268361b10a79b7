#pragma once
// frmMain: the main window. It creates the controls at their design places, lays them out on
// every size change, owns the menus and the About box, ends the program, and wires every control
// event to the editor piece that handles it.

#include "form.h"
#include "maincontrols.h"

#include <memory>

namespace hollenby::ui {
class Dialogs;
}
namespace hollenby::editor {
class LevelKey;
class LevelRender;
class RawTextSave;
class Selection;
} // namespace hollenby::editor
namespace hollenby::play {
class PlayLauncher;
}

namespace hollenby::app {

class frmMain
{
public:
    explicit frmMain(ui::Dialogs& dialogs);
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Centres the window and shows it; the first showing lays it out.
    void Show();

    ui::Form& form() { return *m_form; }
    editor::MainControls& controls() { return m_c; }
    editor::LevelRender& render() { return *m_render; }
    editor::LevelKey& key() { return *m_key; }
    editor::Selection& selection() { return *m_selection; }
    editor::RawTextSave& rawText() { return *m_rawText; }
    play::PlayLauncher& player() { return *m_player; }
    ui::MenuItem& mnuFile(int index) { return *m_mnuFile[index]; }
    ui::MenuItem& mnuHelp(int index) { return *m_mnuHelp[index]; }

    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void mnuFile_Click(int index);
    void mnuHelp_Click(int index);

private:
    ui::Dialogs& m_dialogs;
    std::unique_ptr<ui::Form> m_form;
    editor::MainControls m_c;
    std::unique_ptr<editor::LevelRender> m_render;
    std::unique_ptr<editor::LevelKey> m_key;
    std::unique_ptr<editor::Selection> m_selection;
    std::unique_ptr<editor::RawTextSave> m_rawText;
    std::unique_ptr<play::PlayLauncher> m_player;
    ui::MenuItem* m_mnuFile[1] = {};
    ui::MenuItem* m_mnuHelp[1] = {};

    void createControls();
    void createMenus();
    void wireEvents();
};

// The application icon: a red lattice cube, in every size the resources hold.
QIcon ApplicationIcon();

} // namespace hollenby::app
