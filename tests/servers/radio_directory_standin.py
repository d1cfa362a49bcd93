#!/usr/bin/env python3
"""A stand-in for the public radio directory, on the loopback address only,
written from its API documentation: the station search
(/json/stations/search with name, tag, country, countrycode, language,
hidebroken, order, reverse, offset and limit), the click-count request
(/json/url/<stationuuid>) and the stations' favicons. The tests drive it;
it never reaches any other address.

Fixture behaviours, chosen by the name searched for:
  erreur-serveur   answers 500
  json-casse       answers malformed JSON
  lent             answers after --slow-seconds (longer than a client's time-out)
  enorme           answers a valid list longer than the 4 MB a client takes
  redirection      answers 302 to the same search without the name
and /_clicks tells the tests which stations were counted (each count is
also printed, "click <uuid>").

  radio_directory_standin.py [--port N] [--stations FILE] [--slow-seconds S] [--generated N]

--generated adds N plain stations tagged "generee", for pages and timings.
prints "port N" once it listens, then serves until killed.
"""
import argparse
import json
import os
import struct
import sys
import threading
import time
import urllib.parse
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HERE = os.path.dirname(os.path.abspath(__file__))
LOOPBACK = "127.0.0.1"
MAX_LIMIT = 100000


def png(width, height, rgba):
    """A PNG of one colour, RGBA, written here so that its bytes are right."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(rgba) * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


# The favicons that exist: one red pixel.
TINY_PNG = png(1, 1, (255, 0, 0, 255))
HUGE_FAVICON_BYTES = (1 << 20) + 1
OVERSIZED_ANSWER_BYTES = (4 << 20) + 1


class Directory:
    def __init__(self, stations, slow_seconds):
        self.stations = stations
        self.slow_seconds = slow_seconds
        self.clicks = {}
        self.lock = threading.Lock()

    def search(self, query):
        def text(name):
            return query.get(name, [""])[-1]

        def contains(field, wanted):
            return wanted.lower() in str(field).lower()

        found = [s for s in self.stations
                 if contains(s.get("name", ""), text("name"))
                 and contains(s.get("tags", ""), text("tag"))
                 and contains(s.get("country", ""), text("country"))
                 and (not text("countrycode") or s.get("countrycode", "").lower() == text("countrycode").lower())
                 and contains(s.get("language", ""), text("language"))
                 and (text("hidebroken") != "true" or s.get("lastcheckok", 1) == 1)]
        order = text("order") or "name"
        found.sort(key=lambda s: (s.get(order, 0) if order != "name" else s.get("name", "").lower()),
                   reverse=text("reverse") == "true")
        offset = max(0, int(text("offset") or 0))
        limit = min(MAX_LIMIT, max(0, int(text("limit") or MAX_LIMIT)))
        return found[offset:offset + limit]

    def click(self, uuid):
        with self.lock:
            station = next((s for s in self.stations if s.get("stationuuid") == uuid), None)
            if station is None:
                return None
            self.clicks[uuid] = self.clicks.get(uuid, 0) + 1
            # For tests that read the server's output rather than ask it.
            print("click", uuid, flush=True)
            return {"ok": True, "message": "retrieved station url", "stationuuid": uuid,
                    "name": station.get("name", ""), "url": station.get("url_resolved") or station.get("url", "")}


def handler_for(directory):
    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def answer(self, status, body, content_type="application/json", extra=()):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            # One request a connection: a client that keeps connections
            # (WinINet) would otherwise start a thread to watch them, which
            # the emulated test machines handle badly.
            self.send_header("Connection", "close")
            self.close_connection = True
            for name, value in extra:
                self.send_header(name, value)
            self.end_headers()
            self.wfile.write(body)

        def do_GET(self):
            url = urllib.parse.urlsplit(self.path)
            query = urllib.parse.parse_qs(url.query, keep_blank_values=True)
            name = query.get("name", [""])[-1]
            if url.path == "/json/stations/search":
                if name == "erreur-serveur":
                    return self.answer(500, b"{\"error\":\"internal\"}")
                if name == "json-casse":
                    return self.answer(200, b"[{\"name\":\"coup\xe9\",")
                if name == "enorme":
                    station = json.dumps(directory.stations[0], ensure_ascii=False).encode("utf-8")
                    count = OVERSIZED_ANSWER_BYTES // len(station) + 1
                    return self.answer(200, b"[" + b",".join([station] * count) + b"]")
                if name == "lent":
                    time.sleep(directory.slow_seconds)
                if name == "redirection":
                    rest = [(k, v) for k, values in query.items() if k != "name" for v in values]
                    return self.answer(302, b"", extra=[("Location", url.path + "?" + urllib.parse.urlencode(rest))])
                found = [dict(s) for s in directory.search(query)]
                # Favicons are named by path in the fixtures: here they are this server's.
                base = "http://%s:%d" % (LOOPBACK, self.server.server_address[1])
                for station in found:
                    if station.get("favicon", "").startswith("/"):
                        station["favicon"] = base + station["favicon"]
                return self.answer(200, json.dumps(found, ensure_ascii=False).encode("utf-8"))
            if url.path.startswith("/json/url/"):
                result = directory.click(url.path[len("/json/url/"):])
                if result is None:
                    return self.answer(404, b"{\"ok\":false}")
                return self.answer(200, json.dumps(result).encode("utf-8"))
            if url.path == "/_clicks":
                with directory.lock:
                    return self.answer(200, json.dumps(directory.clicks).encode("utf-8"))
            if url.path.startswith("/favicons/"):
                kind = url.path[len("/favicons/"):]
                if kind.startswith("ok"):
                    return self.answer(200, TINY_PNG, "image/png")
                if kind.startswith("huge"):
                    return self.answer(200, b"\0" * HUGE_FAVICON_BYTES, "image/png")
                if kind.startswith("broken"):
                    return self.answer(200, b"<html>not a picture</html>", "image/png")
            return self.answer(404, b"{\"error\":\"not found\"}")
    return Handler


def generated_stations(count):
    return [{"changeuuid": "c-bbbb0000-0000-0000-0000-%012d" % k,
             "stationuuid": "bbbb0000-0000-0000-0000-%012d" % k,
             "name": "Station générée %03d" % k,
             "url": "http://127.0.0.1:9/generee/%d" % k,
             "url_resolved": "http://127.0.0.1:9/generee/%d" % k,
             "homepage": "", "favicon": "", "tags": "generee", "country": "Nulle Part", "countrycode": "ZZ",
             "language": "esperanto", "votes": 0, "codec": "MP3", "bitrate": 128, "lastcheckok": 1,
             "clickcount": 10 + count - k} for k in range(count)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--stations", default=os.path.join(HERE, "radio_directory_stations.json"))
    parser.add_argument("--slow-seconds", type=float, default=20.0)
    parser.add_argument("--generated", type=int, default=0)
    options = parser.parse_args()
    with open(options.stations, encoding="utf-8") as f:
        stations = json.load(f) + generated_stations(options.generated)
    server = ThreadingHTTPServer((LOOPBACK, options.port), handler_for(Directory(stations, options.slow_seconds)))
    server.daemon_threads = True
    print("port", server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
