#include "mdlutils.h"

namespace hollenby::utils {

} // namespace hollenby::utils
