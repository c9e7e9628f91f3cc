#!/usr/bin/env python3
"""Tile server of the globe's tests, on loopback: every /osm/ tile is pale
blue, every /seamark/ tile transparent with a red square in its middle.
Prints its port, then writes a line for each request to the log file: its
path, how many requests were being served with it, and its User-Agent."""
import http.server
import struct
import sys
import threading
import time
import zlib


def png(pixel):
    """A 256 x 256 RGBA image, pixel(x, y) giving each (r, g, b, a)."""
    lignes = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(256))
                      for y in range(256))

    def morceau(genre, donnees):
        return (struct.pack(">I", len(donnees)) + genre + donnees +
                struct.pack(">I", zlib.crc32(genre + donnees)))

    return (b"\x89PNG\r\n\x1a\n" +
            morceau(b"IHDR", struct.pack(">IIBBBBB", 256, 256, 8, 6, 0, 0, 0)) +
            morceau(b"IDAT", zlib.compress(lignes)) + morceau(b"IEND", b""))


BASE = png(lambda x, y: (170, 211, 223, 255))
AMERS = png(lambda x, y: (220, 0, 0, 255) if 64 <= x < 192 and 64 <= y < 192
            else (0, 0, 0, 0))


VERROU = threading.Lock()
EN_COURS = 0


class Tuiles(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        global EN_COURS
        with VERROU:
            EN_COURS += 1
            with open(sys.argv[1], "a") as journal:
                journal.write("%s %d %s\n" % (self.path, EN_COURS,
                                               self.headers.get("User-Agent", "")))
        # Slow enough for requests sent together to overlap here.
        time.sleep(0.05)
        with VERROU:
            EN_COURS -= 1
        corps = AMERS if self.path.startswith("/seamark/") else BASE
        self.send_response(200)
        self.send_header("Content-Type", "image/png")
        self.send_header("Content-Length", str(len(corps)))
        self.end_headers()
        self.wfile.write(corps)

    def log_message(self, *arguments):
        pass


class Serveur(http.server.ThreadingHTTPServer):
    def handle_error(self, requete, adresse):
        # A client that quits before its tile has come is no fault here.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(requete, adresse)


serveur = Serveur(("127.0.0.1", 0), Tuiles)
print(serveur.server_address[1], flush=True)
serveur.serve_forever()
