#!/usr/bin/python3
"""Completion of hollenby-level in the real bash, zsh and fish: each shell runs in a terminal,
a line is typed with Tab, and the line the shell then holds is compared with what it should be.

    completion_test.py BUILD_DIR

BUILD_DIR holds the program and the completion scripts (completion/) that the install puts in
place for each shell."""

import os
import pty
import select
import shutil
import sys
import tempfile
import time

# Typed text, then the line after Tab, in a folder holding pic.png, plan.lvl and "sub dir/".
CASES = [
    ("hollenby-level th", "hollenby-level thumbnail"),
    ("hollenby-level help imp", "hollenby-level help import"),
    ("hollenby-level check --str", "hollenby-level check --strict"),
    ("hollenby-level fix --li", "hollenby-level fix --line-ends"),
    ("hollenby-level render -r su", "hollenby-level render -r sub\\ dir/"),
    ("hollenby-level check --format=sa", "hollenby-level check --format=sarif"),
    ("hollenby-level check --color=al", "hollenby-level check --color=always"),
    ("hollenby-level render --grid=e", "hollenby-level render --grid=editor"),
    ("hollenby-level info --format t", "hollenby-level info --format text"),
    ("hollenby-level export plan.lvl --layer-format base64-zl",
     "hollenby-level export plan.lvl --layer-format base64-zlib"),
    # Only pictures for a picture, only levels for a level: pic.png and plan.lvl both start "p".
    ("hollenby-level render plan.lvl -o p", "hollenby-level render plan.lvl -o pic.png"),
    ("hollenby-level render p", "hollenby-level render plan.lvl"),
    ("hollenby-level thumbnail -s 128 plan.lvl p", "hollenby-level thumbnail -s 128 plan.lvl pic.png"),
]

# Each shell loads the completion as its own mechanism would, and binds Ctrl-T to write the line
# it holds into $DUMP.
SHELLS = {
    "bash": (["bash", "--noprofile", "--rcfile", "{rc}", "-i"],
             "PS1='$ '\n"
             "source '{completion}/hollenby-level'\n"
             "bind -x '\"\\C-t\": printf %s \"$READLINE_LINE\" > \"$DUMP\"'\n"),
    "zsh": (["zsh", "-i"],
            "PS1='$ '\n"
            "bindkey -e\n"
            "fpath=('{completion}' $fpath)\n"
            "autoload -Uz compinit && compinit -u -D\n"
            "dump() {{ print -rn -- $BUFFER > $DUMP }}\n"
            "zle -N dump && bindkey '^T' dump\n"),
    "fish": (["fish", "--no-config", "-i", "-C", "source {rc}"],
             "function fish_prompt; echo '$ '; end\n"
             "source '{completion}/hollenby-level.fish'\n"
             "bind \\ct 'commandline > $DUMP'\n"),
}


class Terminal:
    """A shell on a pseudo-terminal, read from all the time so that it never blocks."""

    def __init__(self, argv, env, cwd):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(cwd)
            os.execvpe(argv[0], argv, env)
        self.output = b""

    def drain(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            ready, _, _ = select.select([self.fd], [], [], 0.05)
            if ready:
                try:
                    self.output += os.read(self.fd, 65536)
                except OSError:
                    return

    def type(self, text):
        os.write(self.fd, text.encode())

    def close(self):
        try:
            os.kill(self.pid, 9)
        except ProcessLookupError:
            pass
        os.waitpid(self.pid, 0)
        os.close(self.fd)


def line_after_tab(terminal, dump, typed):
    if os.path.exists(dump):
        os.remove(dump)
    # Keys are read in order: Ctrl-T runs once the completion is done.
    terminal.type(typed + "\t\x14")
    end = time.monotonic() + 20
    # Every line expected is longer than nothing, so an empty file is one still being written.
    while (not os.path.exists(dump) or os.path.getsize(dump) == 0) and time.monotonic() < end:
        terminal.drain(0.02)
    line = open(dump).read() if os.path.exists(dump) else None
    terminal.type("\x15")  # Ctrl-U: an empty line for the next case
    return line


def run_shell(shell, build, work):
    argv, rc_text = SHELLS[shell]
    # zsh reads its rc file from $ZDOTDIR, the others are told where it is.
    rc = os.path.join(work, ".zshrc" if shell == "zsh" else shell + "rc")
    completion = os.path.join(build, "completion")
    with open(rc, "w") as out:
        out.write(rc_text.format(completion=completion, rc=rc))
    env = dict(os.environ, PATH=build + os.pathsep + os.environ["PATH"], TERM="xterm",
               HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_DATA_HOME=os.path.join(work, "data"), ZDOTDIR=work,
               DUMP=os.path.join(work, "dump"))
    argv = [part.format(rc=rc) for part in argv]
    terminal = Terminal(argv, env, os.path.join(work, "levels"))
    failures = []
    try:
        terminal.drain(1.5)
        for typed, expected in CASES:
            got = line_after_tab(terminal, env["DUMP"], typed)
            if got is None:
                failures.append(f"{shell}: '{typed}<Tab>': the shell did not answer")
                break
            if got.rstrip() != expected:
                failures.append(f"{shell}: '{typed}<Tab>' gave '{got.rstrip()}', "
                                f"expected '{expected}'")
    finally:
        terminal.close()
    return failures


def main():
    build = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp()
    try:
        levels = os.path.join(work, "levels")
        os.makedirs(os.path.join(levels, "sub dir"))
        for name in ("pic.png", "plan.lvl"):
            open(os.path.join(levels, name), "w").close()
        failures = []
        for shell in SHELLS:
            if shutil.which(shell) is None:
                failures.append(f"{shell} is not installed")
                continue
            failures += run_shell(shell, build, work)
    finally:
        shutil.rmtree(work)
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    if failures:
        sys.exit(1)
    print(f"{len(CASES)} completions right in {', '.join(SHELLS)}")


main()
