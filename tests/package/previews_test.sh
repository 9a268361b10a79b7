#!/bin/sh
# Previews of levels as Xfce's and GNOME's file managers get them: the package is installed in
# the system (GNOME's sandbox sees only /usr), then tumbler, on a D-Bus session bus of its own,
# and GNOME's thumbnail factory are asked for previews of a level with its tile set, the same
# level without one, and a text file that is no level. The package is removed afterwards, also
# after a failure. Installing needs root (or sudo without a password); without it the test fails,
# so that a preview nobody could check never passes for a good one.
#   previews_test.sh PACKAGE_DIR SAMPLES_DIR
set -eu
deb=$(ls "$1"/*.deb)
samples=$2
here=$(cd "$(dirname "$0")" && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo -n true 2>/dev/null || fail "installing the package needs root or sudo without a password"
    sudo="sudo -n"
fi
apt() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=600 "$@"; }

# One run at a time on this machine installs the package, and nothing else sees it for longer
# than the run takes. The lock file is opened for reading: any user can take the lock, whoever
# created the file.
lock=/tmp/hollenby-level-editor-package.lock
[ -e "$lock" ] || : >"$lock"
exec 9<"$lock"
flock -w 600 9 || fail "another run has held the package lock for 10 minutes"
work=$(mktemp -d)
cleanup() {
    apt purge hollenby-level-editor >"$work/purge.log" 2>&1 || cat "$work/purge.log" >&2
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
# What a killed run may have left.
apt purge hollenby-level-editor >/dev/null 2>&1 || true
apt install --no-install-recommends "$deb" >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2
    fail "cannot install $deb"
}

mkdir "$work/own" "$work/none"
cp "$samples/short.lvl" "$work/own/level.lvl"
cp -r "$samples/_resources" "$work/own/"
cp "$samples/short.lvl" "$work/none/level.lvl"
printf 'Not a level: a text file named like one.\r\n' >"$work/none/broken.lvl"

for service in tumbler gnome; do
    mkdir "$work/$service"
    # Its own cache, data and configuration, so that neither the user's files nor the other
    # service's previews count.
    XDG_CACHE_HOME=$work/$service/cache XDG_CONFIG_HOME=$work/$service/config \
        XDG_DATA_HOME=$work/$service/data XDG_DATA_DIRS=/usr/share \
        timeout 300 /usr/bin/python3 "$here/previews.py" "$service" "$work" ||
        fail "$service: no preview as expected (exit status $?)"
done
