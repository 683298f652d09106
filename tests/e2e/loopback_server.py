#!/usr/bin/env python3
"""A loopback server for the end-to-end checks of the connections.

silent:   takes every TCP connection and never says a word, as a server
          whose listener hangs does.
listener: answers each request with a TNS refuse packet, as an Oracle
          listener that does not know the service asked for does.

Listens on 127.0.0.1 only, on a port the system picks, prints that port on
the first line, then serves until it is killed.
"""
import socket
import sys
import threading

REFUSE_DATA = b"(DESCRIPTION=(ERR=12514))"


def refuse_packet():
    length = 8 + len(REFUSE_DATA)
    # Length, packet checksum, type 4 (refuse), reserved, header checksum.
    return length.to_bytes(2, "big") + b"\0\0\x04\0\0\0" + REFUSE_DATA


def answer(connection):
    with connection:
        try:
            connection.settimeout(10)
            if connection.recv(4096):
                connection.sendall(refuse_packet())
        except OSError:
            pass


def main():
    mode = sys.argv[1]
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.bind(("127.0.0.1", 0))
    server.listen(16)
    print(server.getsockname()[1], flush=True)
    held = []
    while True:
        connection, _ = server.accept()
        if mode == "silent":
            held.append(connection)
        else:
            threading.Thread(target=answer, args=(connection,), daemon=True).start()


if __name__ == "__main__":
    main()
