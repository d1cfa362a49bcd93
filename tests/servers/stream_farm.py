#!/usr/bin/env python3
"""Loopback stream servers for the check of the streams: what a real
Icecast cannot show. Listens on 127.0.0.1 only, on PORTS consecutive ports
from the one it prints ("port N"), each serving every path below; prints a
port that refuses ("refused N") and each request ("request PORT PATH AGENT").

  /live.mp3        200 audio/mpeg, then a stream
  /icy             "ICY 200 OK", audio/mpeg
  /tv.ts           200 video/mp2t
  /redirect        302 to /live.mp3;  /relative  302 to "live.mp3"
  /loop            302 to itself;     /hops/N    302 to /hops/N-1, /hops/0 live
  /list.pls        PLS: a refused entry, then /live.mp3
  /dead.m3u        M3U of silent entries only
  /hls.m3u8        an HLS playlist
  /page            200 text/html;     /missing  404;  /error  500
  /never           accepts, reads the request, never answers
  /trickle         answers a byte a second
  /mms             MMS over HTTP: a stream header for the Windows Media agent, else 400
  /s/N             the benchmark's farm: two thirds live; of the rest, a 404
                   or a web page (the benchmark puts a third of them on the
                   refused port); one in NEVER_EVERY never answers
"""
import argparse
import socket
import sys
import threading
import time

STREAM_SECONDS = 20
NEVER_EVERY = 600
CHUNK = 1024


def reply(conn, status, kind, body=b"", stream=False, icy=False):
    line = b"ICY 200 OK" if icy else ("HTTP/1.0 %s" % status).encode()
    head = line + b"\r\n" + (b"Content-Type: %s\r\n" % kind.encode() if kind else b"") + b"\r\n"
    conn.sendall(head + body)
    if stream:
        end = time.time() + STREAM_SECONDS
        while time.time() < end:
            conn.sendall(b"\xff\xfb\x90\x64" + bytes(CHUNK - 4))
            time.sleep(0.05)


def redirect(conn, target):
    conn.sendall(b"HTTP/1.0 302 Found\r\nLocation: %s\r\n\r\n" % target.encode())


def serve(conn, port, farm):
    conn.settimeout(STREAM_SECONDS * 2)
    data = b""
    while b"\r\n\r\n" not in data and len(data) < 65536:
        got = conn.recv(4096)
        if not got:
            return
        data += got
    lines = data.split(b"\r\n")
    path = lines[0].split(b" ")[1].decode("latin-1") if len(lines[0].split(b" ")) > 1 else "/"
    agent = ""
    for line in lines[1:]:
        if line.lower().startswith(b"user-agent:"):
            agent = line[11:].strip().decode("latin-1")
    print("request %d %s %s" % (port, path, agent), flush=True)
    base = "http://127.0.0.1:%d" % port
    if path == "/live.mp3":
        reply(conn, "200 OK", "audio/mpeg", stream=True)
    elif path == "/icy":
        reply(conn, "", "audio/mpeg", stream=True, icy=True)
    elif path == "/tv.ts":
        reply(conn, "200 OK", "video/mp2t", stream=True)
    elif path == "/redirect":
        redirect(conn, base + "/live.mp3")
    elif path == "/relative":
        redirect(conn, "live.mp3")
    elif path == "/loop":
        redirect(conn, "/loop")
    elif path.startswith("/hops/"):
        left = int(path[6:])
        redirect(conn, "/live.mp3" if left == 0 else "/hops/%d" % (left - 1))
    elif path == "/list.pls":
        body = "[playlist]\nFile1=http://127.0.0.1:%d/gone\nFile2=%s/live.mp3\nNumberOfEntries=2\nVersion=2\n" % (
            farm.refused, base)
        reply(conn, "200 OK", "audio/x-scpls", body.encode())
    elif path == "/dead.m3u":
        body = "#EXTM3U\n%s/missing\nhttp://127.0.0.1:%d/gone\n" % (base, farm.refused)
        reply(conn, "200 OK", "audio/x-mpegurl", body.encode())
    elif path == "/hls.m3u8":
        body = "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nsegment1.ts\n"
        reply(conn, "200 OK", "application/vnd.apple.mpegurl", body.encode())
    elif path == "/page":
        reply(conn, "200 OK", "text/html", b"<html><body>Radio</body></html>")
    elif path == "/missing":
        reply(conn, "404 Not Found", "text/html", b"<html>404</html>")
    elif path == "/error":
        reply(conn, "500 Internal Server Error", "text/plain", b"oops")
    elif path == "/never":
        time.sleep(STREAM_SECONDS * 2)
    elif path == "/trickle":
        for byte in b"HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n":
            conn.sendall(bytes([byte]))
            time.sleep(1)
    elif path == "/mms":
        if agent.startswith("NSPlayer"):
            reply(conn, "200 OK", "application/x-mms-framed", b"$H" + bytes(64))
        else:
            reply(conn, "400 Bad Request", "text/plain", b"")
    elif path.startswith("/s/"):
        n = int(path[3:])
        if n % NEVER_EVERY == 0:
            time.sleep(STREAM_SECONDS * 2)
        elif n % 3 != 0:
            reply(conn, "200 OK", "audio/mpeg", bytes(CHUNK))
        elif (n // 3) % 3 == 0:
            reply(conn, "404 Not Found", "text/plain", b"")
        else:
            reply(conn, "200 OK", "text/html", b"<html>Radio</html>")
    else:
        reply(conn, "404 Not Found", "text/plain", b"")


class Farm:
    def __init__(self, count):
        self.listeners = []
        while not self.listeners:
            probe = socket.socket()
            probe.bind(("127.0.0.1", 0))
            first = probe.getsockname()[1]
            probe.close()
            try:
                for k in range(count + 1):
                    s = socket.socket()
                    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
                    s.bind(("127.0.0.1", first + k))
                    self.listeners.append(s)
            except OSError:
                for s in self.listeners:
                    s.close()
                self.listeners = []
        self.first = first
        # The last one is bound but never listens: connections to it are refused.
        self.refused = first + count
        for s in self.listeners[:-1]:
            s.listen(64)

    def run(self):
        for s in self.listeners[:-1]:
            threading.Thread(target=self.accept, args=(s,), daemon=True).start()

    def accept(self, listener):
        port = listener.getsockname()[1]
        while True:
            conn, _ = listener.accept()
            threading.Thread(target=self.handle, args=(conn, port), daemon=True).start()

    def handle(self, conn, port):
        try:
            serve(conn, port, self)
        except OSError:
            pass
        finally:
            conn.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ports", type=int, default=4)
    args = parser.parse_args()
    farm = Farm(args.ports)
    farm.run()
    print("refused %d" % farm.refused, flush=True)
    print("port %d" % farm.first, flush=True)
    while True:
        time.sleep(3600)


if __name__ == "__main__":
    sys.exit(main())
