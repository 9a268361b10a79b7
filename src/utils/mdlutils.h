#pragma once
// mdlUtils: small file-system and dialog helpers shared by the main window's routines.

#include <QString>

namespace hollenby::ui {
class Dialogs;
}

namespace hollenby::utils {

} // namespace hollenby::utils
