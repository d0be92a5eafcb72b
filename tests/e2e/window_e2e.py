#!/usr/bin/env python3
# Drives the real pwm20 window under X as a person would (xdotool clicks and keys) and checks the
# bytes that reach two pseudo-terminals standing in for the boards on com1 and com2: what only a
# real window shows. usage: window_e2e.py PATH_TO_PWM20   (under tools/own-x-server.py)
import os
import pty
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import tty

TITLE = "20路PWM上机位程序----Varnok"


def frames(*pairs):
    return b"".join(bytes([0x53, channel, value, 0x45]) for channel, value in pairs)


class Board:  # the board's end of a pseudo-terminal
    def __init__(self):
        self.master, slave = pty.openpty()
        tty.setraw(slave)
        self.path = os.ttyname(slave)
        os.close(slave)
        os.set_blocking(self.master, False)

    def read(self, count, timeout=5.0):
        data, deadline = b"", time.monotonic() + timeout
        while len(data) < count and time.monotonic() < deadline:
            try:
                data += os.read(self.master, count - len(data))
            except OSError:
                time.sleep(0.01)
        return data


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                          timeout=30).stdout.split()


def main():
    com1, com2, config = Board(), Board(), tempfile.mkdtemp()
    with open(os.path.join(config, "stop.ini"), "w") as setup:
        setup.write("[batch]\non_stop=home\n")
    env = dict(os.environ, PWM20_COM1=com1.path, PWM20_COM2=com2.path, QT_QPA_PLATFORM="xcb",
               XDG_CONFIG_HOME=config)
    process = subprocess.Popen([sys.argv[1], "--setup", setup.name], env=env)
    results = []

    def expect(what, actual, expected):
        results.append(actual == expected)
        print(f"{'ok  ' if actual == expected else 'FAIL'} {what}")
        if actual != expected:
            print(f"     expected {expected!r}\n     actual   {actual!r}")

    try:
        window = xdotool("search", "--sync", "--onlyvisible", "--name", TITLE)[0]
        time.sleep(0.5)

        def click(x, y):
            xdotool("mousemove", "--window", window, x, y, "click", "1")
            time.sleep(0.15)

        # The title bar shows what the window system was told, not only what Qt was.
        title = subprocess.run(["xprop", "-id", window, "-notype", "_NET_WM_NAME"],
                               capture_output=True, text=True, timeout=10).stdout
        expect("title bar", title.split(" = ", 1)[-1].strip(), f'"{TITLE}"')

        # Port closed: holding an arrow down gives one message box and one step, not a stream.
        xdotool("mousemove", "--window", window, 20, 30)
        xdotool("mousedown", "1")
        time.sleep(1.5)
        boxes = xdotool("search", "--onlyvisible", "--name", "^pwm20$")
        expect("held arrow, port closed: one message box", len(boxes), 1)
        if boxes:
            xdotool("windowfocus", "--sync", boxes[0])
            xdotool("key", "Return")
        xdotool("mouseup", "1")

        click(460, 24)  # 打开串口: slider 1's off frame first, then the twenty of all off
        com1.read(84)

        # A drag sends nothing while the thumb moves and one frame where it is let go.
        xdotool("mousemove", "--window", window, 24, 405)
        xdotool("mousedown", "1")
        for step in range(1, 6):
            xdotool("mousemove", "--window", window, 24, 405 - 10 * step)
            time.sleep(0.05)
        expect("nothing during a drag", com1.read(4, timeout=0.3), b"")
        xdotool("mouseup", "1")
        dragged = com1.read(8, timeout=1.0)
        expect("one frame on release", (len(dragged), dragged[:2]), (4, b"S\x0b"))

        # A batch typed into the box and sent: the pose, the wait, the next pose, in a loop indented
        # with Tab, which stays in the box.
        xdotool("windowfocus", "--sync", window)
        click(410, 250)
        for line in ["repeat 1", "\t3=30 4=40", "\twait 1000", "\t5=50", "end"]:
            xdotool("type", "--delay", "20", line)
            xdotool("key", "Return")
        click(412, 392)
        expect("batch: the first pose", com1.read(8), frames((3, 30), (4, 40)))
        expect("batch: held by its wait", com1.read(4, timeout=0.5), b"")
        expect("batch: then the next", com1.read(4), frames((5, 50)))

        # Stopped by SIGTERM (a logout) while it plays: the setup's stop pose, then the end, by
        # that signal.
        click(412, 392)
        expect("again: the first pose", com1.read(8), frames((3, 30), (4, 40)))
        process.send_signal(signal.SIGTERM)
        expect("SIGTERM: the stop pose", com1.read(80), frames(*[(c, 19) for c in range(1, 21)]))
        expect("ended by SIGTERM", process.wait(timeout=10), -signal.SIGTERM)

        # The motion editor from the shell: its title, a cell typed into and saved, F5 playing
        # on the main window's port.
        motion = os.path.join(config, "reach.txt")
        with open(motion, "wb") as file:
            file.write(b"1=10\r\nwait 100\r\n2=20\r\n")
        process = subprocess.Popen([sys.argv[1], "--edit", motion], env=env)
        editor = xdotool("search", "--sync", "--onlyvisible", "--name", "reach.txt")[0]
        window = xdotool("search", "--sync", "--onlyvisible", "--name", TITLE)[0]
        time.sleep(0.5)
        # This screen is narrower than both windows side by side: the editor goes right of the
        # main window's buttons.
        xdotool("windowmove", editor, 520, 0)
        title = subprocess.run(["xprop", "-id", editor, "-notype", "_NET_WM_NAME"],
                               capture_output=True, text=True, timeout=10).stdout
        expect("editor's title", title.split(" = ", 1)[-1].strip(), '"动作编辑器 — reach.txt"')
        click(460, 24)
        expect("editor: the port opened, all off", len(com1.read(80)), 80)
        xdotool("mousemove", "--window", editor, 60, 94, "click", "1")  # row 1, its start
        for key in ["Right", "Right", "Right", "1", "5", "Return", "ctrl+s"]:
            xdotool("key", key)
            time.sleep(0.1)
        time.sleep(0.3)
        with open(motion, "rb") as file:
            expect("a cell edited and saved: its line only", file.read(),
                   b"1=15\r\nwait 100\r\n2=20\r\n")
        xdotool("key", "F5")
        expect("F5 plays the text", com1.read(8, timeout=3), frames((1, 15), (2, 20)))
    finally:
        process.kill()
        process.wait(timeout=10)
        shutil.rmtree(config)
    print(f"{results.count(True)} passed, {results.count(False)} failed")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
