#!/usr/bin/env python3
# Runs a command under an X server of its own (Xvfb, 1024x768 at 96 dpi) with DISPLAY set, and
# ends the server and the command with this script however it ends, SIGKILL included (a ctest
# time-out): no X server is ever left behind, unlike xvfb-run.
# usage: own-x-server.py COMMAND [ARGUMENT...]; the command's exit status is this script's.
import ctypes
import os
import select
import signal
import subprocess
import sys


def dies_with_this_script():
    parent = os.getppid()
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    if os.getppid() != parent:  # this script ended already
        os._exit(1)


def start_server():  # the server and its display, once it takes connections
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                               "-dpi", "96", "-nolisten", "tcp"], pass_fds=[write],
                              preexec_fn=dies_with_this_script, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""  # written as the number, then a newline: both are read before the pipe closes
    while not number.endswith(b"\n") and select.select([read], [], [], 20)[0]:
        piece = os.read(read, 16)
        number += piece if piece else b"\n"
    os.close(read)
    if not number.strip():
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + number.decode().strip()


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # the finally block still runs
    server, display = start_server()
    command = None
    try:
        command = subprocess.Popen(sys.argv[1:], env=dict(os.environ, DISPLAY=display),
                                   preexec_fn=dies_with_this_script)
        status = command.wait()
        return status if status >= 0 else 128 - status
    finally:
        if command:
            command.kill()
        server.kill()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
