"""Reads screenshots and pictures for the window scripts.

ImageMagick turns each into a binary PPM, which is read here without
further libraries. Plan cells are 27x27 pixels in a raster from the plan
view's top left (X0, Y0).

  bildpunkte.py box SHOT R,G,B
      "x y w h": the bounding box of all pixels of that colour (exit 1
      when there are none)
  bildpunkte.py flaeche SHOT R,G,B N
      "x y n": the first run of at least N pixels of that colour, row by
      row, its start and its whole length (exit 1 when there is none)
  bildpunkte.py gezeichnet SHOT X0 Y0 C,R...
      for each cell "C,R n": n pixels of the cell's inner 25x25 that are
      not plan silver
  bildpunkte.py zellen SHOT X0 Y0 DATA C,R=ICON...
      for each cell "C,R ICON n": n pixels of the cell differ from the
      27x27 picture file DATA/ICON
  bildpunkte.py bilder SHOT DATA X,Y=FILE...
      for each "X,Y FILE n": n pixels of the shot from (X, Y) on differ
      from the picture file DATA/FILE, of any size
"""
import subprocess
import sys

SILBER = bytes((192, 192, 192))


def ppm_zerlegen(ppm):
    """Width, height and the RGB bytes, row by row, of a binary PPM with maxval 255."""
    # Header: "P6", width, height, maxval, each separated by whitespace.
    felder, pos = [], 0
    while len(felder) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        anfang = pos
        while not ppm[pos:pos + 1].isspace():
            pos += 1
        felder.append(ppm[anfang:pos])
    if felder[0] != b"P6" or felder[3] != b"255":
        sys.exit("unexpected PPM header %r" % felder)
    return int(felder[1]), int(felder[2]), ppm[pos + 1:]


def lade(pfad):
    """Width, height and the RGB bytes, row by row, of a picture file."""
    return ppm_zerlegen(subprocess.run(["convert", pfad, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout)


def farbe(text):
    return bytes(int(v) for v in text.split(","))


def zelle(text):
    return tuple(int(v) for v in text.split(","))


def main(argv):
    art, schuss = argv[1], argv[2]
    breite, hoehe, pixel = lade(schuss)

    def px(x, y):
        i = (y * breite + x) * 3
        return pixel[i:i + 3]

    if art == "box":
        ziel = farbe(argv[3])
        xs, ys = [], []
        for y in range(hoehe):
            zeile = pixel[y * breite * 3:(y + 1) * breite * 3]
            treffer = [x for x in range(breite) if zeile[x * 3:x * 3 + 3] == ziel]
            if treffer:
                xs += [treffer[0], treffer[-1]]
                ys.append(y)
        if not ys:
            return 1
        print(min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)
    elif art == "flaeche":
        ziel, mindestens = farbe(argv[3]), int(argv[4])
        for y in range(hoehe):
            lauf = 0
            for x in range(breite):
                lauf = lauf + 1 if px(x, y) == ziel else 0
                if lauf == mindestens:
                    ende = x + 1
                    while ende < breite and px(ende, y) == ziel:
                        ende += 1
                    print(x - mindestens + 1, y, ende - x + mindestens - 1)
                    return 0
        return 1
    elif art == "gezeichnet":
        x0, y0 = int(argv[3]), int(argv[4])
        for auftrag in argv[5:]:
            c, r = zelle(auftrag)
            n = sum(px(x0 + 27 * c + dx, y0 + 27 * r + dy) != SILBER for dx in range(1, 26) for dy in range(1, 26))
            print(auftrag, n)
    elif art == "zellen":
        x0, y0, daten = int(argv[3]), int(argv[4]), argv[5]
        bilder = {}
        for auftrag in argv[6:]:
            ort, icon = auftrag.split("=")
            c, r = zelle(ort)
            if icon not in bilder:
                bilder[icon] = lade(daten + "/" + icon)
            b, h, soll = bilder[icon]
            if (b, h) != (27, 27):
                sys.exit("%s is %dx%d, not 27x27" % (icon, b, h))
            n = 0
            for dy in range(27):
                for dx in range(27):
                    j = (dy * 27 + dx) * 3
                    n += px(x0 + 27 * c + dx, y0 + 27 * r + dy) != soll[j:j + 3]
            print(ort, icon, n)
    elif art == "bilder":
        daten = argv[3]
        for auftrag in argv[4:]:
            ort, datei = auftrag.split("=")
            x0, y0 = zelle(ort)
            b, h, soll = lade(daten + "/" + datei)
            n = 0
            for dy in range(h):
                for dx in range(b):
                    j = (dy * b + dx) * 3
                    n += px(x0 + dx, y0 + dy) != soll[j:j + 3]
            print(ort, datei, n)
    else:
        sys.exit("unknown mode " + art)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
