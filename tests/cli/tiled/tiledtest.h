#pragma once
// Shared by the Tiled exchange tests: levels to carry, and the command line run in-process where
// only the exit status and the files matter.

#include "command.h"
#include "level.h"

#include <QStringList>

#include <string>

namespace hollenby::testing {

const QString kSamples = QStringLiteral(SAMPLES_DIR);

inline int Cli(QStringList arguments)
{
    arguments.prepend(QStringLiteral("hollenby-level"));
    return cli::RunCommandLine(arguments);
}

// Every tile code, in table order, 8 to a row, the last row filled up from the start again.
inline std::string AllCodesLevel()
{
    const auto& codes = TileCodes();
    std::string text;
    for (std::size_t i = 0; i < 24; ++i) {
        text += i == 0 ? "" : i % 8 == 0 ? "\r\n" : ",";
        text += codes[i % codes.size()];
    }
    return text;
}

} // namespace hollenby::testing
