#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tile server of the globe's and the relay's tests, on loopback: every
/osm/ tile is pale blue, every /seamark/ tile transparent with a red square
in its middle. Prints its port, then writes a line for each request to the
log file: its path, how many requests were being served with it, and its
User-Agent. Some /osm/ levels misbehave as a hostile or broken server
would, for the relay's tests:
  10  a 2 MiB body, its length announced
  11  a body without end, 12 MB/s (until the client goes, 30 s at most), then
      logs "fin 11 after N s"
  12  a trickle: one byte a second after a PNG signature (60 s at most)
  13  a redirect to another service on loopback, whose requests are logged
      as "autre PATH"
  14  a gzip bomb: 64 MiB of zeros in about 64 KiB, Content-Encoding gzip
  15  a web page instead of a tile
  16  a redirect on the same server, to /osm/1/0/0.png
  17  at x 0, a tile of 1 MiB exactly (zeros after the image), its length
      announced; at x 1, one byte more, its length announced; at x 2, one
      byte more, ended by closing the connection"""
import gzip
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
SIGNATURE = b"\x89PNG\r\n\x1a\n"
BOMBE = gzip.compress(bytes(64 << 20), compresslevel=9)


VERROU = threading.Lock()
EN_COURS = 0


def noter(ligne):
    with open(sys.argv[1], "a") as journal:
        journal.write(ligne + "\n")


class Tuiles(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        global EN_COURS
        with VERROU:
            EN_COURS += 1
            noter("%s %d %s" % (self.path, EN_COURS, self.headers.get("User-Agent", "")))
        try:
            self.servir()
        finally:
            with VERROU:
                EN_COURS -= 1

    def entete(self, statut, longueur=None, **autres):
        self.send_response(statut)
        self.send_header("Content-Type", "image/png")
        if longueur is not None:
            self.send_header("Content-Length", str(longueur))
        for nom, valeur in autres.items():
            self.send_header(nom.replace("_", "-"), valeur)
        self.end_headers()

    def servir(self):
        niveau = self.path.split("/")[2] if self.path.startswith("/osm/") else ""
        if niveau == "10":
            self.entete(200, 2 << 20)
            self.wfile.write(SIGNATURE + bytes((2 << 20) - len(SIGNATURE)))
        elif niveau == "11":
            self.close_connection = True
            self.entete(200)
            debut = time.time()
            try:
                # At most 12 MB/s, as a network would bring it: on loopback
                # an unpaced writer outruns a reader built with sanitizers.
                while time.time() < debut + 30:
                    self.wfile.write(SIGNATURE + bytes(65536))
                    time.sleep(0.005)
            finally:
                noter("fin 11 after %d s" % (time.time() - debut))
        elif niveau in ("12",):
            self.entete(200, 1 << 20)
            self.wfile.write(SIGNATURE)
            for _ in range(60):
                time.sleep(1)
                self.wfile.write(b"\0")
                self.wfile.flush()
        elif niveau == "13":
            self.send_response(302)
            self.send_header("Location", "http://127.0.0.1:%d/secret.png" % AUTRE_PORT)
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif niveau == "14":
            self.entete(200, len(BOMBE), Content_Encoding="gzip")
            self.wfile.write(BOMBE)
        elif niveau == "15":
            corps = b"<html><body>Service unavailable</body></html>"
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(corps)))
            self.end_headers()
            self.wfile.write(corps)
        elif niveau == "16":
            self.send_response(301)
            self.send_header("Location", "/osm/1/0/0.png")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif niveau == "17":
            x = self.path.split("/")[3]
            taille = (1 << 20) + (x != "0")
            if x == "2":
                self.close_connection = True
                self.entete(200)
            else:
                self.entete(200, taille)
            self.wfile.write(BASE + bytes(taille - len(BASE)))
        else:
            # Slow enough for requests sent together to overlap here.
            time.sleep(0.05)
            corps = AMERS if self.path.startswith("/seamark/") else BASE
            self.entete(200, len(corps))
            self.wfile.write(corps)

    def log_message(self, *arguments):
        pass


class Autre(http.server.BaseHTTPRequestHandler):
    """Another local service, that a tile server's redirect must not reach."""
    def do_GET(self):
        noter("autre " + self.path)
        self.send_response(200)
        self.send_header("Content-Type", "image/png")
        self.send_header("Content-Length", str(len(BASE)))
        self.end_headers()
        self.wfile.write(BASE)

    def log_message(self, *arguments):
        pass


class Serveur(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, requete, adresse):
        # A client that quits before its tile has come is no fault here.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(requete, adresse)


autre = Serveur(("127.0.0.1", 0), Autre)
AUTRE_PORT = autre.server_address[1]
threading.Thread(target=autre.serve_forever, daemon=True).start()
serveur = Serveur(("127.0.0.1", 0), Tuiles)
print(serveur.server_address[1], flush=True)
serveur.serve_forever()
