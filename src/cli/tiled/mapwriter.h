#pragma once
// Writes a map in Tiled's formats: finite, orthogonal, its tilesets embedded. Only what the
// model holds is written; Tiled fills in its defaults for the rest when it reads the file.

#include "layerdata.h"
#include "tiledmap.h"

#include <QByteArray>

namespace hollenby::cli::tiled {

// TMX (XML), laid out as Tiled lays it out.
QByteArray WriteTmxMap(const Map& map, LayerFormat format);

// JSON, as Tiled's .tmj.
QByteArray WriteJsonMap(const Map& map, LayerFormat format);

} // namespace hollenby::cli::tiled
