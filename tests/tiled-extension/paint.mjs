// A level painted as a designer would paint it in Tiled, for tests: a file "NAME.painted" holds
// the path of a level; Tiled opens that level through the extension, changes tiles, adds a tile
// layer and an object layer, and hands the map on to be saved in any format.
//   tiled --export-map hollenby-level JOB.painted OUT.lvl

function paint(map) {
    const level = map.layers.find(layer => layer.name === "level");
    const tiles = map.tilesets[0].tiles;
    const edit = level.edit();
    edit.setTile(0, 0, tiles[20]);
    edit.setTile(7, 0, null);
    edit.setTile(3, 1, tiles[5]);
    edit.apply();

    const notes = new TileLayer("notes");
    notes.resize(Qt.size(map.width, map.height));
    const noteEdit = notes.edit();
    noteEdit.setTile(1, 0, tiles[21]);
    noteEdit.apply();
    map.addLayer(notes);

    const spawns = new ObjectGroup("spawns");
    const spawn = new MapObject("spawn");
    spawn.pos = Qt.point(40, 40);
    spawn.size = Qt.size(40, 40);
    spawns.addObject(spawn);
    map.addLayer(spawns);
}

tiled.registerMapFormat("painted-level", {
    name: "Painted level (tests)",
    extension: "painted",
    read: fileName => {
        const job = new TextFile(fileName, TextFile.ReadOnly);
        const level = job.readLine();
        job.close();
        const map = tiled.mapFormat("hollenby-level").read(level);
        paint(map);
        return map;
    },
});
