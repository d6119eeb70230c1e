"""A braille display of 40 cells for BRLTTY's Virtual driver, for tests.

Listens on a Unix socket for the driver, writes every line the driver sends (such as
`Braille "1|12|..."`) to a log file, and passes on to the driver each line written to a FIFO
(such as `Route 6` or `PassDots 3`).

usage: display_simulator.py SOCKET LOG FIFO
"""
import os
import select
import socket
import sys


def main():
    sock_path, log_path, fifo_path = sys.argv[1:4]
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(sock_path)
    server.listen(1)
    os.mkfifo(fifo_path)
    fifo = os.open(fifo_path, os.O_RDWR | os.O_NONBLOCK)
    with open(log_path, "a", buffering=1) as log:
        log.write("listening\n")
        driver, _ = server.accept()
        driver.sendall(b"cells 40\n")
        log.write("connected\n")
        pending = b""
        while True:
            ready, _, _ = select.select([driver, fifo], [], [])
            if driver in ready:
                data = driver.recv(65536)
                if not data:
                    log.write("closed\n")
                    return
                pending += data
                while b"\n" in pending:
                    line, pending = pending.split(b"\n", 1)
                    log.write(line.decode("utf-8", "replace").rstrip("\r") + "\n")
            if fifo in ready:
                data = os.read(fifo, 4096)
                if data:
                    driver.sendall(data)


if __name__ == "__main__":
    main()
