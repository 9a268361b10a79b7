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

    // Places an entry (imgKEY(n), lblKEY(n)) for every code n from 1 to 99 whose bitmap the
    // folder holds, 14 to a column, in code order. Entries are only ever added or re-placed:
    // one that this folder lacks keeps whatever an earlier folder gave it. Builds without
    // yielding or repainting, so the key appears whole when the window next paints.
    void fnLoadKey(const QString& resFolder);

private:
    MainControls& m_c;
    ui::Dialogs& m_dialogs;
};

} // namespace hollenby::editor
