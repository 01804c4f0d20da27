#!/usr/bin/python3
"""Writes the seed corpus of every fuzz target into OUT/<target>/ from the test fixtures, the
example files and a few small generated inputs. Run by scripts/fuzz.sh; nothing it writes is
committed.

    semi.py SOURCE_DIR OUT_DIR
"""
import io
import os
import sys
import tempfile
import zipfile
import zlib

import olefile  # Debian python3-olefile

SEPARATORE = b"\n=FCL="  # fuzz/SupportoFuzz.h: kSeparatoreParti


def scrivi(cartella, nome, dati):
    os.makedirs(cartella, exist_ok=True)
    with open(os.path.join(cartella, nome), "wb") as f:
        f.write(dati)


def parti_zip(dati, massimo=60000):
    """A zip workbook as the parts format of the fuzz targets (only the parts the readers use)."""
    uscita = b""
    with zipfile.ZipFile(io.BytesIO(dati)) as z:
        for info in z.infolist():
            if info.is_dir():
                continue
            contenuto = z.read(info.filename)
            if len(contenuto) > massimo:
                contenuto = contenuto[:massimo]
            uscita += SEPARATORE + info.filename.encode() + b"\n" + contenuto
    return uscita


def flusso_workbook(dati):
    ole = olefile.OleFileIO(io.BytesIO(dati))
    for nome in ("Workbook", "Book"):
        if ole.exists(nome):
            return ole.openstream(nome).read()
    return None


def pdf(oggetti, trailer_extra=b""):
    """A classic PDF with one cross-reference table; objects are bodies numbered from 1."""
    uscita = b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n"
    posizioni = []
    for i, corpo in enumerate(oggetti, 1):
        posizioni.append(len(uscita))
        uscita += b"%d 0 obj\n" % i + corpo + b"\nendobj\n"
    xref = len(uscita)
    uscita += b"xref\n0 %d\n0000000000 65535 f \n" % (len(oggetti) + 1)
    for p in posizioni:
        uscita += b"%010d 00000 n \n" % p
    uscita += b"trailer\n<< /Size %d /Root 1 0 R %s>>\nstartxref\n%d\n%%%%EOF\n" % (
        len(oggetti) + 1, trailer_extra, xref)
    return uscita


def flusso(dizionario, dati):
    return b"<< " + dizionario + b" /Length %d >>\nstream\n" % len(dati) + dati + b"\nendstream"


def pdf_xref_stream():
    """Objects in an object stream, cross references in a stream (PDF 1.5)."""
    contenuto = b"BT /F1 12 Tf 72 720 Td (Ciao) Tj ET"
    testa = b"<< /Type /Catalog /Pages 2 0 R >>"
    pagine = b"<< /Type /Pages /Kids [3 0 R] /Count 1 /MediaBox [0 0 595 842] >>"
    pagina = b"<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>"
    font = b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"
    interni = [(1, testa), (2, pagine), (3, pagina), (5, font)]
    indice = b""
    corpo = b""
    for n, o in interni:
        indice += b"%d %d " % (n, len(corpo))
        corpo += o + b" "
    os_dati = zlib.compress(indice + corpo)
    uscita = b"%PDF-1.5\n"
    pos = {}
    pos[4] = len(uscita)
    uscita += b"4 0 obj\n" + flusso(b"", contenuto) + b"\nendobj\n"
    pos[6] = len(uscita)
    uscita += b"6 0 obj\n" + flusso(b"/Type /ObjStm /N 4 /First %d /Filter /FlateDecode" % len(indice),
                                     os_dati) + b"\nendobj\n"
    pos[7] = len(uscita)
    righe = [b"\x00\x00\x00\xff"]
    for n in range(1, 7):
        if n in (4, 6):
            righe.append(b"\x01" + pos[n].to_bytes(2, "big") + b"\x00")
        else:
            i = [x for x, _ in interni].index(n)
            righe.append(b"\x02" + (6).to_bytes(2, "big") + bytes([i]))
    righe.append(b"\x01" + pos[7].to_bytes(2, "big") + b"\x00")
    xref = zlib.compress(b"".join(righe))
    uscita += b"7 0 obj\n" + flusso(b"/Type /XRef /Size 8 /W [1 2 1] /Root 1 0 R /Filter /FlateDecode",
                                     xref) + b"\nendobj\n"
    uscita += b"startxref\n%d\n%%%%EOF\n" % pos[7]
    return uscita


def semi_pdf(out):
    contenuto = b"q 0 0 1 rg 10 10 100 100 re f Q BT /F1 10 Tf 50 800 Td (Modello) Tj ET"
    base = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R 6 0 R] /Count 2 /MediaBox [0 0 596 842] "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>",
        flusso(b"", contenuto),
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 842 596] /Contents [7 0 R 8 0 R] "
        b"/Resources << /XObject << /Im1 9 0 R >> /Font << /F1 5 0 R >> >> >>",
        flusso(b"/Filter /FlateDecode", zlib.compress(b"q 1 0 0 1 0 0 cm /Im1 Do Q")),
        flusso(b"/Filter /FlateDecode /DecodeParms << /Predictor 12 /Columns 4 >>",
               zlib.compress(b"\x00BT /\x00F1 1\x002 Tf\x00 ET\n")),
        flusso(b"/Type /XObject /Subtype /Image /Width 2 /Height 2 /ColorSpace /DeviceGray "
               b"/BitsPerComponent 8", b"\x00\xff\xff\x00"),
    ]
    scrivi(out, "classico.pdf", pdf(base))
    scrivi(out, "oggetti_compressi.pdf", pdf_xref_stream())
    # An incremental update that replaces the content of page 1.
    primo = pdf(base)
    agg_pos = len(primo)
    agg = b"4 0 obj\n" + flusso(b"", b"BT /F1 8 Tf 10 10 Td (Aggiornato) Tj ET") + b"\nendobj\n"
    vecchio_xref = int(primo.rsplit(b"startxref\n", 1)[1].split(b"\n")[0])
    xref = agg_pos + len(agg)
    agg += b"xref\n4 1\n%010d 00000 n \ntrailer\n<< /Size 10 /Root 1 0 R /Prev %d >>\n" % (
        agg_pos, vecchio_xref)
    agg += b"startxref\n%d\n%%%%EOF\n" % xref
    scrivi(out, "aggiornato.pdf", primo + agg)
    scrivi(out, "cifrato.pdf", pdf(base[:5], b"/Encrypt << /Filter /Standard /V 1 /R 2 >> "))


def semi_inflate(out):
    testi = [b"", b"BT /F1 12 Tf (Ciao) Tj ET", b"0123456789" * 500,
             bytes(range(256)) * 8, b"q 1 0 0 1 0 0 cm Q\n" * 50]
    for i, t in enumerate(testi):
        for livello in (0, 1, 9):
            scrivi(out, "z%d_%d" % (i, livello), zlib.compress(t, livello))


def record(tipo, corpo=b""):
    r = (tipo + corpo).ljust(1897, b" ")[:1897] + b"A"
    return r + b"\r\n"


def semi_verifica(out):
    cf = b"RSSMRA80A01H501U"
    a = record(b"A", b" " * 14 + b"NSP00" + b"01" + cf + b" " * 483 + b"00000000")
    b = record(b"B", cf + b"00000001" + b" " * 40 + b"0000" + b"NSP00")
    campi = b"FE001001" + b"02468130162".ljust(16) + b"FE001002" + b"1".rjust(16)
    d = record(b"D", cf + b"00000001" + b" " * 48 + b"ABCDEFGHIJKLMNOP" + campi)
    e = record(b"E", cf + b"00000001" + b" " * 64 + b"TA004001" + b"1".rjust(16))
    z = record(b"Z", b" " * 14 + b"000000001000000000000000001000000001")
    scrivi(out, "comunicazione.txt", a + b + d + e + z)
    scrivi(out, "corta.txt", a[:100] + b"\n" + z)


def semi_backup(sorgente, out):
    esempio = os.path.join(sorgente, "resources", "esempio", "SAVE_ESEMPIO_ALFABETA.FCL")
    with open(esempio, "rb") as f:
        scrivi(out, "esempio.FCL", f.read())
    cope = b"\xa6COPE\xa6RSSMRA80A01H501U\xa6\xa6ROSSI\xa6MARIO\xa6M\xa601/01/1980\xa6ROMA\xa6RM\xa61"
    scrivi(out, "escape.FCL", cope + b"\xa6C:\\\\Dati\\|x\\r\\n\\u20AC\\N\xa612,5\xa6,\r\n"
           b"\xa6CTAB\xa6ITT\xa6RSSMRA80A01H501U\xa6   220/01/2026\r\n"
           b"\xa6CTAB\xa6NOTA\xa6RSSMRA80A01H501U\xa6\\N\r\n")
    scrivi(out, "cancelletto.FCL", cope.replace(b"\xa6", b"#") + b"\r\n")
    # Damaged and hostile files: a last line cut short, first lines without a usable code, a code
    # in lower case with blanks, a Null written by earlier versions.
    itt = b"\xa6CTAB\xa6ITT\xa6RSSMRA80A01H501U\xa6   220/01/2026"
    scrivi(out, "troncato.FCL", cope + b"\r\n" + itt[:20])
    scrivi(out, "troncato-cr.FCL", cope + b"\r\n" + itt + b"\r")
    scrivi(out, "codice-vuoto.FCL", b"\xa6COPE\xa6\r\n")
    scrivi(out, "codice-spazi.FCL", b"\xa6COPE\xa6   \xa6ALFA\r\n" + itt + b"\r\n")
    scrivi(out, "codice-percorso.FCL", b"\xa6COPE\xa6../../..\xa6ALFA\r\n")
    scrivi(out, "codice-minuscolo.FCL", cope.replace(b"RSSMRA80A01H501U", b" rssmra80a01h501u ")
           + b"\r\n" + itt.replace(b"RSSMRA80A01H501U", b"rssmra80a01h501u") + b"\r\n")
    scrivi(out, "altro-operatore.FCL", cope + b"\r\n" + b"\xa6COPE\xa6ALTRO\xa6X\r\n")
    scrivi(out, "null-vecchio.FCL", b"\xa6COPE\xa6X1\xa6ALFA\xa6\\N\xa6\\N\r\n"
           b"\xa6CTAB\xa6NOTA\xa6X1\xa6\\N\r\n")


def semi_valori(out):
    righe = [
        (0, 3, b"02468130162\t\t\t12/03/2024\t1234,56\t\t1"),
        (1, 1, b"RSSMRA80A01H501U\t3\t1.234.567,89\t1\tABC"),
        (2, 1, b"ROSSI\tMARIO\t01/02/1980\tROMA\tRM\t\t\t\t\t\t1\t\t1\t1000,00"),
        (3, 1, b"1234567\t\t\t29/02/2023\t-5\t1e5\t\t31/12/1899"),
        (4, 0, b"02468130162\tDAT\t01/01/2024\t\t\t100\t\t0\t1\t1"),
        (5, 2, b"\t\t\t1/1/2020\t0,001\t99999999999999999999"),
        (8, 1, "ÀÈÌÒÙ € caffè\t\t\t3/13/2020\t12.5".encode()),
        (10, 3, b"FRANCIA\t001\t" + b"X" * 80),
    ]
    for i, (q, o, t) in enumerate(righe):
        scrivi(out, "riga%d" % i, bytes([q, o]) + t)


def semi_ini(out):
    scrivi(out, "configurazione.ini",
           b"[connessione]\r\nlog=1\r\n\r\n[opzioni]\r\nPC=1\r\nTipoDb=2\r\ndebug=0\r\n"
           b"Server_Utente=utente\r\nServer_Password=\"segreta\"\r\nServer_Nome=server\r\n"
           b"PCDirF=PGM\\dati\r\n")
    scrivi(out, "cp1252.ini", b"[OPZIONI]\nPCDirF = C:\\Citt\xe0 \xe8 pi\xf9 " + b"x" * 140 + b"\n; nota\n")
    # A ";" inside a value is part of it; comments only at the start of a line.
    scrivi(out, "commenti.ini",
           b"\xef\xbb\xbf; intestazione\r\n[opzioni] ; sezione\r\nPCDirF = /dati ;vecchi\r\n"
           b"TipoDb=A\t; tipo\r\nPC: 1 ;x=2\r\n# PC=9\r\nPC ;y=3\r\ndebug=a\x00b\r\n")


def codifica(testo, chiave):
    return bytes((c + chiave + i) % 256 for i, c in enumerate(testo, 1))


def semi_marcatore(out):
    valori = [b"DRIVER=SQLite3;DATABASE=/opt/fiscolario/dati/fiscolario.db", b"2", b"/opt/fiscolario"]
    chiavi = [12, 27, 19, 33]
    righe = [codifica(v, chiavi[i]) for i, v in enumerate(valori)] + [b""]
    scrivi(out, "FSYSNEV13.DLL", b"\r\n".join(righe) + b"\r\n")
    scrivi(out, "corto.DLL", codifica(b"C:\\Programmi\\Citt\xe0", 12) + b"\n\n\n")
    # A character above 127 far into a line, a line past the 4 KiB limit, an unscrambled line.
    scrivi(out, "euro.DLL", b"\r\n".join(
        [codifica(b"Data Source=/dati/" + b"x" * 80 + b"\x80/DataBase/FCL2013.mdb", 12)[:97]
         + b"\xff" * 3, codifica(b"A", 27), codifica(b"/dati/\x80", 19), b""]) + b"\r\n")
    scrivi(out, "riga-lunga.DLL", righe[0] + b"\r\n" + righe[1] + b"\r\n" + b"x" * 4200 + b"\r\n")
    scrivi(out, "chiaro.DLL", b"\x01\r\n\x01\r\n\x01\r\n\r\n")


def semi_ostili(sorgente, out):
    """Workbooks that ask for unbounded work or memory, small enough to be mutated whole (the
    larger ones are in tests/workbook/data/regressioni/cartelle); bench/ostili/genera.py makes
    them."""
    sys.path.insert(0, os.path.join(sorgente, "bench", "ostili"))
    import genera
    with tempfile.TemporaryDirectory() as cartella:
        genera.testi_vuoti(cartella, 200000)
        genera.gettone_lungo(cartella, "gettone-lungo.xlsx", 8 << 20)
        genera.righe_ripetute(cartella)
        for nome in sorted(os.listdir(cartella)):
            with open(os.path.join(cartella, nome), "rb") as f:
                contenuto = f.read()
            target = "ods" if nome.endswith(".ods") else "xlsx"
            scrivi(os.path.join(out, target), "ostile-" + nome, contenuto)
            scrivi(os.path.join(out, target), "ostile-" + nome + ".parti",
                   parti_zip(contenuto, 4000))


def main():
    sorgente, out = sys.argv[1], sys.argv[2]
    dati = os.path.join(sorgente, "tests", "workbook", "data")
    cartelle = [dati, os.path.join(sorgente, "resources", "esempio"),
                os.path.join(sorgente, "tests", "shell", "data"),
                os.path.join(dati, "regressioni", "cartelle")]
    for cartella in cartelle:
        for nome in sorted(os.listdir(cartella)):
            percorso = os.path.join(cartella, nome)
            if not os.path.isfile(percorso):
                continue
            with open(percorso, "rb") as f:
                contenuto = f.read()
            if len(contenuto) > 200000:
                continue
            if nome.endswith(".xls"):
                scrivi(os.path.join(out, "xls"), nome, contenuto)
                try:
                    wb = flusso_workbook(contenuto)
                    if wb:
                        scrivi(os.path.join(out, "xls"), nome + ".biff", wb)
                except Exception:
                    pass
            elif nome.endswith(".xlsx") or nome.endswith(".ods"):
                target = "ods" if nome.endswith(".ods") else "xlsx"
                scrivi(os.path.join(out, target), nome, contenuto)
                try:
                    scrivi(os.path.join(out, target), nome + ".parti", parti_zip(contenuto))
                except zipfile.BadZipFile:
                    pass
    semi_ostili(sorgente, out)
    semi_pdf(os.path.join(out, "modello_pdf"))
    semi_inflate(os.path.join(out, "inflate"))
    semi_verifica(os.path.join(out, "verifica"))
    semi_backup(sorgente, os.path.join(out, "backup"))
    semi_valori(os.path.join(out, "valori"))
    semi_ini(os.path.join(out, "ini"))
    semi_marcatore(os.path.join(out, "marcatore"))


if __name__ == "__main__":
    main()
