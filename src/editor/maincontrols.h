#pragma once
// The main window's controls, by the names its routines use. frmMain creates and places them;
// the editor's pieces hold this and work on the controls they own or read.

#include "controlarray.h"
#include "controls.h"
#include "form.h"
#include "image.h"

#include <memory>

namespace hollenby::editor {

struct MainControls
{
    ui::Form* form = nullptr;

    std::unique_ptr<ui::Frame> fmeRender;
    std::unique_ptr<ui::CommandButton> cmdPlay;
    std::unique_ptr<ui::CommandButton> cmdSaveRefresh;
    std::unique_ptr<ui::VScrollBar> VScroll1;
    std::unique_ptr<ui::TextBox> txtLvlRaw;
    std::unique_ptr<ui::CommandButton> cmdRefresh;
    std::unique_ptr<ui::ControlArray<ui::Label>> lblKEY;
    std::unique_ptr<ui::Label> lblEstPlay;
    std::unique_ptr<ui::ControlArray<ui::Image>> imgKEY;
    std::unique_ptr<ui::Label> lblSAR_Warn;
    std::unique_ptr<ui::ControlArray<ui::Image>> picImgs;
    std::unique_ptr<ui::Frame> fmeStep1;
    std::unique_ptr<ui::CommandButton> cmdSelectRes;
    std::unique_ptr<ui::TextBox> txtResLocation;
    std::unique_ptr<ui::TextBox> txtFileLocation;
    std::unique_ptr<ui::CommandButton> cmdSelectFile;
    std::unique_ptr<ui::Label> lblResLocation;
    std::unique_ptr<ui::Label> lblLocation;
};

} // namespace hollenby::editor
