"""The directory stand-in answers as the API documentation says, so that the
plugin's tests can trust what it serves: filters, order, pages, the click
count, favicons, and each fixture behaviour."""
import json
import os
import subprocess
import sys
import unittest
import zlib
import urllib.error
import urllib.parse
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
SLOW_SECONDS = 2.0
CLIENT_TIMEOUT = 0.5


class DirectoryStandin(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = subprocess.Popen(
            [sys.executable, os.path.join(HERE, "radio_directory_standin.py"), "--slow-seconds", str(SLOW_SECONDS)],
            stdout=subprocess.PIPE, text=True)
        cls.base = "http://127.0.0.1:%s" % cls.server.stdout.readline().split()[1]

    @classmethod
    def tearDownClass(cls):
        cls.server.kill()
        cls.server.wait()

    def get(self, path, timeout=10):
        with urllib.request.urlopen(self.base + path, timeout=timeout) as answer:
            return answer.status, answer.read()

    def search(self, **criteria):
        status, body = self.get("/json/stations/search?" + urllib.parse.urlencode(criteria))
        self.assertEqual(status, 200)
        return json.loads(body.decode("utf-8"))

    def test_search_filters_orders_by_clicks_and_pages(self):
        everything = self.search(order="clickcount", reverse="true", hidebroken="false")
        clicks = [s["clickcount"] for s in everything]
        self.assertEqual(clicks, sorted(clicks, reverse=True))
        self.assertEqual(len(everything), 7)
        answering = self.search(order="clickcount", reverse="true", hidebroken="true")
        self.assertNotIn("Radio Cassée", [s["name"] for s in answering])
        self.assertEqual([s["name"] for s in self.search(name="été")], ["Radio Été"])
        self.assertEqual({s["countrycode"] for s in self.search(countrycode="fr")}, {"FR"})
        self.assertEqual([s["name"] for s in self.search(tag="jazz", order="clickcount", reverse="true")],
                         ["Jazz Côte", "Jazz Ancien"])
        page = self.search(order="clickcount", reverse="true", offset=2, limit=2)
        self.assertEqual([s["name"] for s in page], [s["name"] for s in everything[2:4]])
        self.assertEqual(self.search(name="aucune radio de ce nom"), [])
        self.assertTrue(self.search(name="Été")[0]["favicon"].startswith(self.base + "/favicons/"))

    def test_clicks_are_counted_per_station(self):
        uuid = "aaaa0001-0000-0000-0000-000000000003"
        status, body = self.get("/json/url/" + uuid)
        self.assertEqual(json.loads(body)["url"], "http://127.0.0.1:9/jazz")
        self.get("/json/url/" + uuid)
        self.assertEqual(json.loads(self.get("/_clicks")[1])[uuid], 2)
        with self.assertRaises(urllib.error.HTTPError) as refused:
            self.get("/json/url/no-such-station")
        self.assertEqual(refused.exception.code, 404)

    def test_favicons_good_huge_broken_and_missing(self):
        status, png = self.get("/favicons/ok-ete.png")
        self.assertTrue(png.startswith(b"\x89PNG"))
        # A whole picture: its pixels decompress (a checksum wrong once made every logo fail).
        idat = png.index(b"IDAT")
        length = int.from_bytes(png[idat - 4:idat], "big")
        self.assertEqual(zlib.decompress(png[idat + 4:idat + 4 + length]), b"\0\xff\0\0\xff")
        self.assertGreater(len(self.get("/favicons/huge.png")[1]), 1 << 20)
        self.assertTrue(self.get("/favicons/broken.png")[1].startswith(b"<html>"))
        with self.assertRaises(urllib.error.HTTPError):
            self.get("/favicons/missing.png")

    def test_fixture_behaviours(self):
        with self.assertRaises(urllib.error.HTTPError) as failed:
            self.get("/json/stations/search?name=erreur-serveur")
        self.assertEqual(failed.exception.code, 500)
        status, body = self.get("/json/stations/search?name=json-casse")
        with self.assertRaises(ValueError):
            json.loads(body.decode("utf-8", "replace"))
        # A redirect to the same search without the name: followed, everything comes.
        self.assertEqual(len(self.search(name="redirection", hidebroken="false")), 7)
        with self.assertRaises(OSError):
            self.get("/json/stations/search?name=lent", timeout=CLIENT_TIMEOUT)
        # Longer than a client takes, and still a list of stations.
        status, body = self.get("/json/stations/search?name=enorme")
        self.assertGreater(len(body), 4 << 20)
        self.assertEqual(json.loads(body)[0]["name"], "Radio Été")


if __name__ == "__main__":
    unittest.main()
