"""Reads the two indicators at the right end of Velmo's status bar for
verbindung_xvfb.sh.

Each indicator is a dot of one of four colours followed by its text; the
left one is the link, the right one the track power. The strip read is
the bottom STREIFEN_HOEHE rows and the right STREIFEN_BREITE columns of a
picture of the main window (the window alone, not the whole screen).

  verbindung_xvfb.py lage SHOT
      "link power": the colour names (grau, gelb, gruen, rot) of the two
      dots in a picture file; "?" for a dot not found
  verbindung_xvfb.py beobachten X Y W H DIR SEKUNDEN
      grabs the window at X,Y (W x H) from the screen every 100 ms and
      prints "ms link power" per grab, ms since 1970 taken just before the
      grab; every grab whose pair differs from the one before is kept as
      DIR/<n>.ppm and named at the end of its line. Ends with 0 once it has
      seen the link lost (not green) and then both dots green, with 1 when
      that did not happen within SEKUNDEN.
  verbindung_xvfb.py uhr HH:MM:SS.mmm BEZUG
      the local time of day as ms since 1970, on the day that puts it
      nearest to BEZUG (ms since 1970)
"""
import datetime
import subprocess
import sys
import time

from bildpunkte import ppm_zerlegen

STREIFEN_BREITE = 520
STREIFEN_HOEHE = 20
FARBEN = {
    bytes((0x8C, 0x8C, 0x8C)): "grau",
    bytes((0xE8, 0xA0, 0x00)): "gelb",
    bytes((0x1E, 0xA0, 0x1E)): "gruen",
    bytes((0xD2, 0x1E, 0x1E)): "rot",
}
# A dot is a run of columns holding its colour; runs further apart than
# this are two dots. A glyph of the dot holds far more than MINDESTENS
# pixels of its colour.
LUECKE = 4
MINDESTENS = 6
TAKT = 0.1


def als_ppm(quelle, *optionen):
    return subprocess.run([*quelle, *optionen, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout


def lage(breite, hoehe, pixel):
    """The colour names of the link dot and the power dot."""
    treffer = {}  # column -> colour -> count
    for y in range(max(0, hoehe - STREIFEN_HOEHE), hoehe):
        zeile = pixel[y * breite * 3:(y + 1) * breite * 3]
        for x in range(max(0, breite - STREIFEN_BREITE), breite):
            name = FARBEN.get(zeile[x * 3:x * 3 + 3])
            if name:
                spalte = treffer.setdefault(x, {})
                spalte[name] = spalte.get(name, 0) + 1
    punkte, letzte = [], None
    for x in sorted(treffer):
        if letzte is None or x - letzte > LUECKE:
            punkte.append({})
        for name, n in treffer[x].items():
            punkte[-1][name] = punkte[-1].get(name, 0) + n
        letzte = x
    namen = [max(p, key=p.get) for p in punkte if sum(p.values()) >= MINDESTENS]
    return (namen + ["?", "?"])[:2] if len(namen) <= 2 else ["?", "?"]


def beobachten(x, y, w, h, ordner, sekunden):
    quelle = ["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage"]
    ende = time.time() + sekunden
    vorher, verloren, nummer = None, False, 0
    while time.time() < ende:
        beginn = time.time()
        daten = als_ppm(quelle)
        paar = lage(*ppm_zerlegen(daten))
        zeile = "%d %s %s" % (beginn * 1000, *paar)
        if paar != vorher:
            nummer += 1
            datei = "%s/%d.ppm" % (ordner, nummer)
            with open(datei, "wb") as aus:
                aus.write(daten)
            zeile += " " + datei
        print(zeile, flush=True)
        vorher = paar
        verloren = verloren or paar[0] != "gruen"
        if verloren and paar == ["gruen", "gruen"]:
            return 0
        time.sleep(max(0.0, TAKT - (time.time() - beginn)))
    return 1


def uhr(text, bezug):
    tag = datetime.datetime.fromtimestamp(bezug / 1000).date()
    zeit = datetime.datetime.strptime(text, "%H:%M:%S.%f").time()
    kandidaten = [datetime.datetime.combine(tag + datetime.timedelta(days=d), zeit).timestamp() * 1000
                  for d in (-1, 0, 1)]
    return round(min(kandidaten, key=lambda t: abs(t - bezug)))


def main(argv):
    art = argv[1]
    if art == "lage":
        print(*lage(*ppm_zerlegen(als_ppm(["convert", argv[2]]))))
    elif art == "beobachten":
        x, y, w, h = (int(v) for v in argv[2:6])
        return beobachten(x, y, w, h, argv[6], float(argv[7]))
    elif art == "uhr":
        print(uhr(argv[2], int(argv[3])))
    else:
        sys.exit("unknown mode " + art)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
