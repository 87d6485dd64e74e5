#!/usr/bin/env python3
"""Load and memory probes of a running `zelkchart --serve` on this machine.

  web-probe.py PORT PID endless   one client sends an endless header line (256 MiB at most)
  web-probe.py PORT PID burst N   N clients connect and ask for / at once
  web-probe.py PORT PID viewers N SECONDS   N viewers poll / and /chart.png each second

Prints the recorder's resident size before and after, and what the clients got. Traffic goes
to 127.0.0.1 only, and every loop is bounded in count and time.
"""
import socket
import sys
import threading
import time


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return -1


def exchange(port, request, timeout=10.0):
    """Sends the request and returns (status, seconds) once the answer's status line is in."""
    start = time.monotonic()
    with socket.create_connection(("127.0.0.1", port), timeout=timeout) as s:
        s.sendall(request)
        data = b""
        while b"\r\n" not in data:
            piece = s.recv(4096)
            if not piece:
                break
            data += piece
    status = int(data[9:12]) if data.startswith(b"HTTP/1.") else 0
    return status, time.monotonic() - start


def endless(port, pid):
    before = resident_kib(pid)
    sent = 0
    answer = b""
    with socket.create_connection(("127.0.0.1", port), timeout=5) as s:
        s.sendall(f"GET / HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nX-Endless: ".encode())
        chunk = b"a" * 65536
        try:
            while sent < 256 << 20:
                s.sendall(chunk)
                sent += len(chunk)
        except OSError:
            pass
        try:
            answer = s.recv(200)
        except OSError:
            pass
    after = resident_kib(pid)
    print(f"endless header line: sent {sent} bytes before the server stopped taking them; "
          f"answer {answer[:12]!r}; resident {before} KiB -> {after} KiB (+{after - before})")


def burst(port, pid, n):
    before = resident_kib(pid)
    results = [None] * n
    request = f"GET / HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nConnection: close\r\n\r\n".encode()

    def one(i):
        try:
            results[i] = exchange(port, request)
        except OSError as e:
            results[i] = (0, -1.0)

    threads = [threading.Thread(target=one, args=(i,)) for i in range(n)]
    start = time.monotonic()
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    took = time.monotonic() - start
    counts = {}
    for status, _ in results:
        counts[status] = counts.get(status, 0) + 1
    slowest = max(s for _, s in results)
    print(f"{n} clients at once: statuses {counts}, slowest answer {slowest:.2f} s, "
          f"all done in {took:.2f} s; resident {before} KiB -> {resident_kib(pid)} KiB")


def viewers(port, pid, n, seconds):
    stats = []
    lock = threading.Lock()
    stop = time.monotonic() + seconds

    def viewer():
        mine = []
        while time.monotonic() < stop:
            tick = time.monotonic()
            for path in ("/", "/chart.png"):
                try:
                    mine.append(exchange(port, f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n"
                                               "Connection: close\r\n\r\n".encode()))
                except OSError:
                    mine.append((0, 99.0))
            time.sleep(max(0.0, 1.0 - (time.monotonic() - tick)))
        with lock:
            stats.append(mine)

    threads = [threading.Thread(target=viewer) for _ in range(n)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    worst = 1.0
    total = answered = 0
    for mine in stats:
        fast = sum(1 for status, s in mine if status == 200 and s <= 2.0)
        total += len(mine)
        answered += fast
        worst = min(worst, fast / max(1, len(mine)))
    print(f"{n} viewers over {seconds} s: {answered} of {total} requests answered 200 within 2 s; "
          f"the worst viewer got {worst:.0%}")


if __name__ == "__main__":
    port, pid, what = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    if what == "endless":
        endless(port, pid)
    elif what == "burst":
        burst(port, pid, int(sys.argv[4]))
    elif what == "viewers":
        viewers(port, pid, int(sys.argv[4]), int(sys.argv[5]))
