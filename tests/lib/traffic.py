"""UDP traffic for the scripted tests: datagram sinks, paced senders and an answering peer.

  sink ADDRESS PORT                 takes datagrams and drops them (prints "ready" once bound)
  send DEST PORT BYTES RATE [SIZE]  sends BYTES at RATE bytes a second in datagrams of SIZE bytes
                                    (1000 unless given; the last one holds what is left)
  by-minute DEST PORT SECONDS RATE...
                                    sends 1000-byte datagrams for SECONDS (200 MB at most), at the
                                    first RATE (bytes a second) in the first minute, the next in the
                                    next, and round again
  answer ADDRESS PORT SIZE          answers each datagram with its first SIZE bytes
"""
import socket
import sys
import time


def bound(address, port):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1 << 20)
    s.bind((address, int(port)))
    print("ready", flush=True)
    return s


def sink(address, port):
    s = bound(address, port)
    while True:
        s.recv(65536)


def answer(address, port, size):
    s = bound(address, port)
    while True:
        data, sender = s.recvfrom(65536)
        s.sendto(data[: int(size)], sender)


def send(dest, port, total, rate, size="1000"):
    total, rate, size = int(total), float(rate), int(size)
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    payload = b"q" * size
    sent, start = 0, time.monotonic()
    while sent < total:
        n = min(size, total - sent)
        s.sendto(payload[:n], (dest, int(port)))
        sent += n
        delay = start + sent / rate - time.monotonic()
        if delay > 0.002:
            time.sleep(delay)
    print("sent", sent, "bytes in", round(time.monotonic() - start, 2), "s", flush=True)


def by_minute(dest, port, seconds, *rates):
    seconds, rates = float(seconds), [int(r) for r in rates]
    size, limit = 1000, 200 * 1000 * 1000
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    payload = b"q" * size
    start = time.monotonic()
    minute_start, minute_sent, sent = start, 0, 0
    while sent < limit:
        now = time.monotonic()
        if now - start >= seconds:
            break
        minute = int((now - start) // 60)
        if start + minute * 60 != minute_start:
            minute_start, minute_sent = start + minute * 60, 0
        rate = rates[minute % len(rates)]
        due = minute_start + (minute_sent + size) / rate if rate > 0 else minute_start + 60
        if due > now:
            time.sleep(min(due - now, start + seconds - now, 0.5))
            continue
        s.sendto(payload, (dest, int(port)))
        minute_sent += size
        sent += size
    print("sent", sent, "bytes", flush=True)


COMMANDS = {"sink": sink, "answer": answer, "send": send, "by-minute": by_minute}

if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in COMMANDS:
        sys.exit(__doc__)
    COMMANDS[sys.argv[1]](*sys.argv[2:])
