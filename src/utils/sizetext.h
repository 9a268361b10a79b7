#pragma once
// The file-size text of the Step 1 caption, apart from reading the size, so that the command
// line prints exactly what the window shows.

#include <QString>

#include <cstdint>

namespace hollenby::utils {

// "1023 bytes", "1.13 Kb", "1024.00 Mb", "2.00 Gb": the unit chosen before dividing, two
// decimals, an exact half away from zero, the user's decimal separator. A size that does not fit
// a signed 32-bit count (or is negative) is "0 bytes".
QString SizeText(std::int64_t bytes);

} // namespace hollenby::utils
