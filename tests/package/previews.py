#!/usr/bin/python3
"""Asks a desktop's own thumbnail service for previews of three files, with the package
installed, and checks what it made of them:

    previews.py tumbler|gnome FOLDER

FOLDER holds own/level.lvl beside its tile set (own/_resources), none/level.lvl (the same level
without one) and none/broken.lvl (a text file that is no level). XDG_CACHE_HOME must name an
empty folder of this run's own."""

import hashlib
import os
import subprocess
import sys

import gi

gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf, Gio, GLib  # noqa: E402

MIME = "application/x-hollenby-level"
SIZE = 128  # the "normal" previews both services make


def fail(message):
    print(f"FAIL: {sys.argv[1]}: {message}", file=sys.stderr)
    sys.exit(1)


def uri(path):
    return Gio.File.new_for_path(path).get_uri()


def cached(kind, path):
    name = hashlib.md5(uri(path).encode()).hexdigest() + ".png"
    return os.path.join(os.environ["XDG_CACHE_HOME"], "thumbnails", kind, name)


def pixels(pixbuf):
    if pixbuf.get_n_channels() == 3:
        pixbuf = pixbuf.add_alpha(False, 0, 0, 0)
    return pixbuf.get_width(), pixbuf.get_height(), pixbuf.get_pixels()


def expected_picture(level, work):
    """The preview hollenby-level itself draws, to compare the services' with."""
    out = os.path.join(work, "expected.png")
    subprocess.run(["hollenby-level", "thumbnail", "-s", str(SIZE), level, out], check=True,
                   timeout=60)
    picture = pixels(GdkPixbuf.Pixbuf.new_from_file(out))
    os.remove(out)
    return picture


def tumbler(own, none, broken):
    """Xfce's service, over a D-Bus session bus of its own that starts tumblerd on demand, as
    a desktop session does."""
    log = open(os.path.join(os.environ["XDG_CACHE_HOME"], "bus.log"), "w+")
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, stderr=log, text=True)
    try:
        address = bus.stdout.readline().strip()
        connection = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        loop = GLib.MainLoop()
        ready, errors = set(), {}

        def on_signal(_connection, _sender, _path, _interface, name, parameters):
            values = parameters.unpack()
            if name == "Ready":
                ready.update(values[1])
            elif name == "Error":
                errors.update({failed: values[3] for failed in values[1]})
            elif name == "Finished":
                loop.quit()

        connection.signal_subscribe(None, "org.freedesktop.thumbnails.Thumbnailer1", None,
                                    "/org/freedesktop/thumbnails/Thumbnailer1", None,
                                    Gio.DBusSignalFlags.NONE, on_signal)
        paths = [own, none, broken]
        connection.call_sync(
            "org.freedesktop.thumbnails.Thumbnailer1", "/org/freedesktop/thumbnails/Thumbnailer1",
            "org.freedesktop.thumbnails.Thumbnailer1", "Queue",
            GLib.Variant("(asasssu)", ([uri(p) for p in paths], [MIME] * 3, "normal", "default",
                                       0)), None, Gio.DBusCallFlags.NONE, 60000, None)
        timed_out = []
        GLib.timeout_add_seconds(120, lambda: timed_out.append(True) or loop.quit())
        loop.run()
        if timed_out:
            log.seek(0)
            fail("tumbler did not finish within 120 s; the bus said:\n" + log.read())
        for path in (own, none):
            if uri(path) not in ready:
                fail(f"no preview of {path}: {errors.get(uri(path), 'no answer')}")
        if uri(broken) not in errors:
            fail(f"{broken} is not reported as failed")
    finally:
        bus.terminate()
        bus.wait()


def gnome(own, none, broken):
    """GNOME's factory, as Nautilus uses it: it runs the thumbnailer in a sandbox holding only
    /usr and a copy of the file, and records a failure for what cannot be previewed."""
    gi.require_version("GnomeDesktop", "3.0")
    from gi.repository import GnomeDesktop

    factory = GnomeDesktop.DesktopThumbnailFactory.new(GnomeDesktop.DesktopThumbnailSize.NORMAL)
    for path in (own, none, broken):
        mtime = int(os.stat(path).st_mtime)
        if not factory.can_thumbnail(uri(path), MIME, mtime):
            fail(f"the factory knows no thumbnailer for {path}")
        try:
            factory.save_thumbnail(factory.generate_thumbnail(uri(path), MIME, None), uri(path),
                                   mtime, None)
        except GLib.Error as error:
            if path != broken:
                fail(f"no preview of {path}: {error.message}")
            factory.create_failed_thumbnail(uri(path), mtime, None)
        else:
            if path == broken:
                fail(f"a preview of {broken}, which is no level")
    if not os.path.exists(cached("fail/gnome-thumbnail-factory", broken)):
        fail(f"no failure entry for {broken}")


def main():
    service, folder = sys.argv[1], sys.argv[2]
    os.makedirs(os.environ["XDG_CACHE_HOME"], exist_ok=True)
    own = os.path.join(folder, "own", "level.lvl")
    none = os.path.join(folder, "none", "level.lvl")
    broken = os.path.join(folder, "none", "broken.lvl")
    for path in (own, none, broken):
        kind = Gio.File.new_for_path(path).query_info(
            "standard::content-type", Gio.FileQueryInfoFlags.NONE, None).get_content_type()
        if kind != MIME:
            fail(f"{path} is {kind}, not {MIME}: the package's MIME type is not installed")

    {"tumbler": tumbler, "gnome": gnome}[service](own, none, broken)
    previews = {path: pixels(GdkPixbuf.Pixbuf.new_from_file(cached("normal", path)))
                for path in (own, none)}
    for path, picture in previews.items():
        width, height, _ = picture
        if max(width, height) != SIZE:
            fail(f"the preview of {path} is {width} x {height}, not fitted to {SIZE}")
    # tumbler runs the thumbnailer where the level is, so it finds the level's tile set; GNOME's
    # sandbox hides it, and both levels show as their flat colours.
    flat = expected_picture(none, os.environ["XDG_CACHE_HOME"])
    if previews[none] != flat:
        fail("the level without a tile set is not drawn in flat colours")
    if service == "tumbler":
        if previews[own] == flat or previews[own] != expected_picture(own,
                                                                      os.environ["XDG_CACHE_HOME"]):
            fail("the level with its tile set is not drawn with it")
    elif previews[own] != flat:
        fail("in the sandbox, the level with its tile set is not drawn in flat colours")
    print(f"{service}: previews of both levels, a failure for the broken one")


main()
