#pragma once
// The render view: loading a level into the raw text box and the scroll range, drawing its rows
// as tiles from a start row, and the play-time estimate.

#include "maincontrols.h"

#include <QString>

#include <cstdint>

namespace hollenby::ui {
class Dialogs;
}

namespace hollenby::editor {

class LevelRender
{
public:
    LevelRender(MainControls& controls, ui::Dialogs& dialogs);

    // Loads the level and renders it from row 1. False when either path is empty (nothing done,
    // nothing said) or when the load reported a failure of its own.
    bool fnGoLevelRender(const QString& levelFile, const QString& resFolder);

    // Draws the rows whose row value (600 x row number) is at least `startY`, down to the scroll
    // bar's height, and updates the estimate. Reports its own failures.
    void fnShowImagesFromY(std::int32_t startY, const QString& levelFile, const QString& resFolder);

    // Renders from the scroll bar's position, with the paths in the two path boxes.
    void VScroll1_Change();

private:
    MainControls& m_c;
    ui::Dialogs& m_dialogs;
};

} // namespace hollenby::editor
