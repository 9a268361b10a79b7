#pragma once
// The graphical key: one image and name per bitmap that the resources folder offers.

#include "maincontrols.h"

#include <QString>

namespace hollenby::ui {
class Dialogs;
}

namespace hollenby::editor {

class LevelKey
{
public:
    LevelKey(MainControls& controls, ui::Dialogs& dialogs);

    void fnLoadKey(const QString& resFolder);

private:
    MainControls& m_c;
    ui::Dialogs& m_dialogs;
};

} // namespace hollenby::editor
