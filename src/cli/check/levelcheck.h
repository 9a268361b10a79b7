#pragma once
// What in a level the editor or the game would read otherwise than its author most likely meant,
// as findings with their place in the file. The severities say what each does:
//   error   - the level cannot be loaded, or tiles go missing or stop the drawing;
//   warning - something written is never drawn, or drawn as a blank slot, or play is delayed;
//   note    - harmless, but counts where one may not expect it.

#include "findinglist.h"

#include <QString>

namespace hollenby::cli {

class LevelText;

// Every finding about `level` and the bitmaps it needs from `resourcesFolder`, in file order,
// each kind treated as `settings` say: ignored, or given their severity, and shown at most their
// maxFindings() times.
LevelFindings CheckLevel(const LevelText& level, const QString& resourcesFolder,
                         const CheckSettings& settings = {});

} // namespace hollenby::cli
