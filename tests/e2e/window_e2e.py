#!/usr/bin/env python3
"""Drives the real pwm20 window under X as a person would (xdotool clicks and keys) and checks the
exact bytes that reach two pseudo-terminals standing in for the boards on com1 and com2.

usage: window_e2e.py PATH_TO_PWM20   (needs a DISPLAY: run it under xvfb-run)
"""
import os
import pty
import signal
import subprocess
import sys
import time
import tty

TITLE = "20路PWM上机位程序----Varnok"
MESSAGE_TITLE = "^pwm20$"


def frame(channel, value):
    return bytes([0x53, channel, value, 0x45])


def frames(*pairs):
    return b"".join(frame(c, v) for c, v in pairs)


ALL_OFF_LOOP = frames(*[(c, 0) for c in range(1, 21)])


class Board:
    """The board's end of a pseudo-terminal."""

    def __init__(self):
        self.master, slave = pty.openpty()
        tty.setraw(slave)
        self.path = os.ttyname(slave)
        os.close(slave)
        os.set_blocking(self.master, False)

    def read(self, count, timeout=5.0):
        """Up to `count` bytes, waiting at most `timeout` seconds for them."""
        data = b""
        deadline = time.monotonic() + timeout
        while len(data) < count and time.monotonic() < deadline:
            try:
                data += os.read(self.master, count - len(data))
            except (BlockingIOError, OSError):
                time.sleep(0.01)
        return data

    def quiet(self, wait=0.5):
        """Whatever arrives within `wait` seconds; a quiet line gives b''."""
        return self.read(1 << 16, timeout=wait)


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=False, capture_output=True,
                          text=True, timeout=30).stdout.split()


class Window:
    # Control centres in window pixels, from the window's fixed layout.
    SLIDER_LEFT = [8 + 32 * ((n - 1) % 10) for n in range(1, 21)]

    def __init__(self, window_id):
        self.id = window_id

    def click(self, x, y):
        xdotool("mousemove", "--window", self.id, x, y)
        xdotool("click", "1")
        time.sleep(0.15)

    def slider_x(self, channel):
        return self.SLIDER_LEFT[channel - 1] + 12

    def slider_top(self, channel):
        return 24 + (0 if channel <= 10 else 232)

    def up_arrow(self, channel):
        return self.slider_x(channel), self.slider_top(channel) + 6

    def down_arrow(self, channel):
        return self.slider_x(channel), self.slider_top(channel) + 170

    def track(self, channel):
        return self.slider_x(channel), self.slider_top(channel) + 80

    def value_box(self, channel):
        return self.slider_x(channel), 208 + 9 + (0 if channel <= 10 else 232)

    BUTTONS = {"Command1": (460, 24), "Command2": (412, 392), "Command3": (372, 436),
               "Command4": (464, 436),
               "Option1": (376, 16), "Option2": (376, 32)}

    def press(self, name):
        self.click(*self.BUTTONS[name])

    def enter_value(self, channel, text):
        # With no window manager to hand it over, the window takes the keyboard itself.
        xdotool("windowfocus", "--sync", self.id)
        self.click(*self.value_box(channel))
        xdotool("key", "--clearmodifiers", "ctrl+a")
        xdotool("type", "--delay", "20", text)
        xdotool("key", "Return")
        time.sleep(0.15)


def message_boxes():
    return xdotool("search", "--onlyvisible", "--name", MESSAGE_TITLE)


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def expect(self, what, actual, expected):
        if actual == expected:
            self.passed += 1
            print(f"ok   {what}")
        else:
            self.failed += 1
            print(f"FAIL {what}\n     expected {expected!r}\n     actual   {actual!r}")


def main():
    program = sys.argv[1]
    com1, com2 = Board(), Board()
    env = dict(os.environ, PWM20_COM1=com1.path, PWM20_COM2=com2.path, QT_QPA_PLATFORM="xcb")
    started = time.monotonic()
    process = subprocess.Popen([program], env=env)
    checks = Checks()
    try:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", TITLE],
                               capture_output=True, text=True, timeout=30).stdout.split()
        window = Window(found[0])
        time.sleep(0.5)
        # What the window system shows in the title bar, not only what Qt was told.
        title = subprocess.run(["xprop", "-id", window.id, "-notype", "_NET_WM_NAME"],
                               capture_output=True, text=True, timeout=10).stdout
        checks.expect("title bar", title.split(" = ", 1)[-1].strip(), f'"{TITLE}"')

        # Port closed: holding an arrow down gives one message and one step, not a stream.
        x, y = window.up_arrow(1)
        xdotool("mousemove", "--window", window.id, x, y)
        xdotool("mousedown", "1")
        time.sleep(1.5)
        boxes = message_boxes()
        checks.expect("held arrow, port closed: one message box", len(boxes), 1)
        if boxes:
            xdotool("windowfocus", "--sync", boxes[0])
            xdotool("key", "Return")
        xdotool("mouseup", "1")
        time.sleep(1.0)
        checks.expect("no further box after dismissing it", len(message_boxes()), 0)
        checks.expect("nothing written while closed", com1.quiet(0.2), b"")

        # Open: slider 1 stepped once, so its off frame comes before the twenty loop frames.
        window.press("Command1")
        checks.expect("open: moved slider first, then twenty off frames",
                      com1.read(84), frame(1, 0) + ALL_OFF_LOOP)

        window.click(*window.track(3))
        checks.expect("track click: one frame", com1.read(4), frame(3, 1))
        window.click(*window.up_arrow(3))
        checks.expect("up arrow: one frame", com1.read(4), frame(3, 2))
        window.click(*window.down_arrow(3))
        checks.expect("down arrow: one frame", com1.read(4), frame(3, 1))
        checks.expect("nothing more", com1.quiet(0.3), b"")

        window.enter_value(15, "100")
        checks.expect("typed value and Enter", com1.read(4), frame(15, 100))

        # A drag sends nothing while the thumb moves and one frame where it is let go.
        x, y = window.slider_x(16), window.slider_top(16) + 149
        xdotool("mousemove", "--window", window.id, x, y)
        xdotool("mousedown", "1")
        for step in range(1, 6):
            xdotool("mousemove", "--window", window.id, x, y - 10 * step)
            time.sleep(0.05)
        checks.expect("nothing during a drag", com1.quiet(0.3), b"")
        xdotool("mouseup", "1")
        dragged = com1.read(8, timeout=1.0)
        checks.expect("one frame on release", (len(dragged), dragged[:2]), (4, frame(16, 0)[:2]))

        window.press("Command3")
        checks.expect("all off: moved sliders, then the loop",
                      com1.read(92), frames((3, 0), (15, 0), (16, 0)) + ALL_OFF_LOOP)

        window.press("Command4")
        checks.expect("centre all: twenty frames", com1.read(80),
                      frames(*[(c, 19) for c in range(1, 21)]))
        window.press("Command4")
        checks.expect("centre all again: nothing", com1.quiet(), b"")

        window.press("Command1")
        checks.expect("closing writes nothing", com1.quiet(), b"")

        window.press("Option2")
        window.press("Command1")
        checks.expect("com2: every centred slider off, then the loop",
                      com2.read(160), frames(*[(c, 0) for c in range(1, 21)]) + ALL_OFF_LOOP)
        checks.expect("com1 stays quiet", com1.quiet(0.2), b"")

        # A batch typed into the box and sent: the pose, the wait, the next pose, in order.
        xdotool("windowfocus", "--sync", window.id)
        window.click(410, 250)
        for line in ["3=30 4=40", "wait 1000", "5=50"]:
            xdotool("type", "--delay", "20", line)
            xdotool("key", "Return")
        window.press("Command2")
        checks.expect("batch: the first pose", com2.read(8), frames((3, 30), (4, 40)))
        checks.expect("batch: held by its wait", com2.quiet(0.5), b"")
        checks.expect("batch: then the next", com2.read(4), frame(5, 50))
    finally:
        process.send_signal(signal.SIGTERM)
        process.wait(timeout=10)
    print(f"took {time.monotonic() - started:.1f} s")
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 0 if checks.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
