#!/usr/bin/env python3
# Renders the motion editor after a play, under an X server of its own (run it through
# tools/screenshot-editor.sh): the arm example opened with --edit, the port opened on a
# pseudo-terminal that stands in for the board, F5, then a picture of the editor's window.
#   screenshot-editor.py PWM20 OUT.png [--lang en]
import os
import pty
import subprocess
import sys
import tempfile
import threading
import time
import tty

program, out, *extra = sys.argv[1:]
examples = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs", "examples")
master, slave = pty.openpty()
tty.setraw(slave)


def board():  # takes every frame, as the board would
    while True:
        try:
            os.read(master, 4096)
        except OSError:
            time.sleep(0.01)


threading.Thread(target=board, daemon=True).start()
env = dict(os.environ, PWM20_COM1=os.ttyname(slave), QT_QPA_PLATFORM="xcb",
           XDG_CONFIG_HOME=tempfile.mkdtemp())
window = subprocess.Popen([program, "--edit", os.path.join(examples, "reach.txt"), "--setup",
                           os.path.join(examples, "arm.ini"), *extra], env=env, cwd=examples)


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                          timeout=30).stdout.split()


try:
    editor = xdotool("search", "--sync", "--onlyvisible", "--name", "reach.txt")[0]
    main = xdotool("search", "--onlyvisible", "--name", "PWM")[0]
    time.sleep(1)
    xdotool("mousemove", "--window", main, 461, 25, "click", "1")  # the port's button
    time.sleep(0.5)
    xdotool("mousemove", "--window", editor, 500, 150, "click", "1")  # the row of the first move
    xdotool("key", "F5")
    time.sleep(4)
    subprocess.run(["import", "-window", editor, out], check=True, timeout=30)
finally:
    window.terminate()
    window.wait(timeout=10)
print(f"saved {out}")
