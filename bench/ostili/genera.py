#!/usr/bin/python3
"""Writes hostile workbooks: small files that ask a reader for unbounded work or memory.

    genera.py DIR            the full-size files measured by esegui.sh (about 10 MB in all;
                             their contents inflate to several GB)
    genera.py DIR --piccoli  the small versions kept as regression inputs in
                             tests/workbook/data/regressioni/cartelle (and fuzz seeds)

Every zip entry is written a block at a time, so no content is ever held whole in memory.

| file | what it holds |
|---|---|
| righe-ripetute.ods | sheet FA: one row with a VAT number in A repeated 4,294,967,296 times |
| gettone-lungo.xlsx | sheet FA: one attribute value of 32 MB (1 GiB: gettone-1gb.xlsx) |
| nomi-fogli-enormi.ods | sheets named with 1 MiB of letters each (2,400 of them) |
| fogli-innumerevoli.xlsx | xl/workbook.xml lists 8.7 million sheets |
| testi-vuoti.xlsx | xl/sharedStrings.xml holds 52 million empty strings |
| dimensioni.xls | Excel 5.0/95 (FreeXL): sheet FA whose DIMENSIONS say 65,535 rows and 256 columns |
"""
import os
import struct
import sys
import zipfile

BLOCCO = 1 << 20

ODS_NS = (
    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2"'
)
NS_MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
NS_REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
NS_PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
TIPO = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"


def ripeti(f, pezzo, volte):
    """Writes `pezzo` `volte` times, a block of about 1 MiB at a time."""
    per_blocco = max(1, BLOCCO // len(pezzo))
    blocco = pezzo * per_blocco
    while volte >= per_blocco:
        f.write(blocco)
        volte -= per_blocco
    f.write(pezzo * volte)


def scrivi_voce(z, nome, parti):
    """An entry made of byte strings and callables that write into the entry's stream."""
    info = zipfile.ZipInfo(nome)
    info.compress_type = zipfile.ZIP_DEFLATED
    with z.open(info, "w", force_zip64=True) as f:
        for parte in parti:
            if callable(parte):
                parte(f)
            else:
                f.write(parte)


def zip_ods(percorso, contenuto):
    with zipfile.ZipFile(percorso, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet",
                   compress_type=zipfile.ZIP_STORED)
        z.compression = zipfile.ZIP_DEFLATED
        intestazione = ('<?xml version="1.0" encoding="UTF-8"?><office:document-content %s>'
                        "<office:body><office:spreadsheet>" % ODS_NS).encode()
        coda = b"</office:spreadsheet></office:body></office:document-content>"
        scrivi_voce(z, "content.xml", [intestazione] + contenuto + [coda])


def tabella_ods(nome, righe=b""):
    return b'<table:table table:name="' + nome + b'">' + righe + b"</table:table>"


def cella_testo(testo):
    return (b'<table:table-cell office:value-type="string"><text:p>' + testo +
            b"</text:p></table:table-cell>")


def righe_ripetute(cartella):
    """Row 1 of sheet FA, a VAT number in column A, repeated 2^32 times."""
    riga = (b'<table:table-row table:number-rows-repeated="4294967296">' +
            cella_testo(b"02468130162") + b"</table:table-row>")
    zip_ods(os.path.join(cartella, "righe-ripetute.ods"),
            [tabella_ods(b"Frontespizio"), tabella_ods(b"FA", riga)])


def zip_xlsx(percorso, fogli, cartella=None, testi=None):
    """`fogli`: list of (name, parts of the sheet XML); `cartella`: parts of workbook.xml in place
    of the one listing `fogli`; `testi`: parts of xl/sharedStrings.xml."""
    with zipfile.ZipFile(percorso, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("_rels/.rels",
                   '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="%s">'
                   '<Relationship Id="rId1" Type="%sofficeDocument" Target="xl/workbook.xml"/>'
                   "</Relationships>" % (NS_PKG, TIPO))
        if cartella is None:
            voci = "".join('<sheet name="%s" sheetId="%d" r:id="rId%d"/>' % (n, i, i)
                           for i, (n, _) in enumerate(fogli, 1))
            cartella = [('<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="%s" '
                         'xmlns:r="%s"><sheets>%s</sheets></workbook>'
                         % (NS_MAIN, NS_REL, voci)).encode()]
        scrivi_voce(z, "xl/workbook.xml", cartella)
        relazioni = "".join('<Relationship Id="rId%d" Type="%sworksheet" '
                            'Target="worksheets/sheet%d.xml"/>' % (i, TIPO, i)
                            for i in range(1, len(fogli) + 1))
        if testi is not None:
            relazioni += ('<Relationship Id="rIdT" Type="%ssharedStrings" '
                          'Target="sharedStrings.xml"/>' % TIPO)
        z.writestr("xl/_rels/workbook.xml.rels",
                   '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="%s">%s'
                   "</Relationships>" % (NS_PKG, relazioni))
        for i, (_, parti) in enumerate(fogli, 1):
            scrivi_voce(z, "xl/worksheets/sheet%d.xml" % i,
                        [('<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="%s">'
                          "<sheetData>" % NS_MAIN).encode()] + parti +
                        [b"</sheetData></worksheet>"])
        if testi is not None:
            scrivi_voce(z, "xl/sharedStrings.xml", testi)


def gettone_lungo(cartella, nome, byte):
    """A cell of sheet FA whose start tag carries one attribute of `byte` letters: one XML token."""
    zip_xlsx(os.path.join(cartella, nome),
             [("Frontespizio", []),
              ("FA", [b'<row r="4"><c r="A4" t="inlineStr" x="', lambda f: ripeti(f, b"A", byte),
                      b'"><is><t>02468130162</t></is></c></row>'])])


def nomi_fogli_enormi(cartella, fogli, lunghezza):
    """`fogli` sheets after the first, each named with `lunghezza` letters."""
    def tabella(f, i):
        f.write(b'<table:table table:name="')
        ripeti(f, b"F", lunghezza - 8)
        f.write(b"%08d" % i)
        f.write(b'"></table:table>')
    contenuto = [tabella_ods(b"Frontespizio")] + [
        (lambda f, i=i: tabella(f, i)) for i in range(fogli)]
    zip_ods(os.path.join(cartella, "nomi-fogli-enormi.ods"), contenuto)


def fogli_innumerevoli(cartella, quanti):
    """xl/workbook.xml lists `quanti` sheets; none of them is in the relationships."""
    cartella_xml = [('<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="%s" '
                     'xmlns:r="%s"><sheets>' % (NS_MAIN, NS_REL)).encode(),
                    lambda f: ripeti(f, b'<sheet name="a" r:id="b"/>', quanti),
                    b"</sheets></workbook>"]
    zip_xlsx(os.path.join(cartella, "fogli-innumerevoli.xlsx"), [("Frontespizio", [])],
             cartella=cartella_xml)


def testi_vuoti(cartella, quanti):
    testi = [('<?xml version="1.0" encoding="UTF-8"?><sst xmlns="%s">' % NS_MAIN).encode(),
             lambda f: ripeti(f, b"<si/>", quanti), b"</sst>"]
    zip_xlsx(os.path.join(cartella, "testi-vuoti.xlsx"), [("Frontespizio", []), ("FA", [])],
             testi=testi)


def composto(nome, dati):
    """A compound file holding one stream, in regular sectors."""
    settore = 512
    dati = dati.ljust(max(4096, -(-len(dati) // settore) * settore), b"\0")
    n = len(dati) // settore
    settori_fat = 1
    while settori_fat * (settore // 4) < n + 1 + settori_fat:
        settori_fat += 1
    testa = bytearray(settore)
    testa[0:8] = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"
    struct.pack_into("<HHHHH", testa, 24, 0x3E, 3, 0xFFFE, 9, 6)
    struct.pack_into("<IIII", testa, 44, settori_fat, n, 0, 0)
    struct.pack_into("<III", testa, 56, 4096, 0xFFFFFFFE, 0)
    struct.pack_into("<I", testa, 68, 0xFFFFFFFE)
    for i in range(109):
        struct.pack_into("<I", testa, 76 + 4 * i, n + 1 + i if i < settori_fat else 0xFFFFFFFF)

    def voce(nome_voce, tipo, figlio, inizio, dimensione):
        v = bytearray(128)
        testo = nome_voce.encode("utf-16-le")
        v[0:len(testo)] = testo
        struct.pack_into("<H", v, 64, len(testo) + 2 if tipo else 0)
        v[66], v[67] = tipo, 1
        struct.pack_into("<III", v, 68, 0xFFFFFFFF, 0xFFFFFFFF, figlio)
        struct.pack_into("<II", v, 116, inizio, dimensione)
        return bytes(v)

    cartella = (voce("Root Entry", 5, 1, 0xFFFFFFFE, 0) + voce(nome, 2, 0xFFFFFFFF, 0, len(dati)) +
                voce("", 0, 0xFFFFFFFF, 0xFFFFFFFF, 0) * 2)
    fat = bytearray()
    for i in range(settori_fat * (settore // 4)):
        v = 0xFFFFFFFF
        if i + 1 < n:
            v = i + 1
        elif i in (n - 1, n):
            v = 0xFFFFFFFE
        elif i <= n + settori_fat:
            v = 0xFFFFFFFD
        fat += struct.pack("<I", v)
    return bytes(testa) + dati + cartella + bytes(fat)


def dimensioni_xls(cartella, righe, colonne):
    """An Excel 5.0/95 workbook (read through FreeXL, which sets aside room for every cell of a
    sheet's DIMENSIONS at once): sheets "Frontespizio" and "FA", both the same sheet stream."""
    def record(tipo, corpo):
        return struct.pack("<HH", tipo, len(corpo)) + corpo

    def foglio_in_elenco(posizione, nome):
        return record(0x0085, struct.pack("<IBBB", posizione, 0, 0, len(nome)) + nome)

    testa = record(0x0809, struct.pack("<HHHH", 0x0500, 0x0005, 0, 0)) + record(0x0042, b"\xE4\x04")
    elenco_lungo = len(foglio_in_elenco(0, b"Frontespizio")) + len(foglio_in_elenco(0, b"FA"))
    posizione = len(testa) + elenco_lungo + 4
    globali = (testa + foglio_in_elenco(posizione, b"Frontespizio") +
               foglio_in_elenco(posizione, b"FA") + record(0x000A, b""))
    foglio = (record(0x0809, struct.pack("<HHHH", 0x0500, 0x0010, 0, 0)) +
              record(0x0200, struct.pack("<HHHHH", 0, righe, 0, colonne, 0)) +
              record(0x0203, struct.pack("<HHHd", 3, 0, 0, 1234.5)) + record(0x000A, b""))
    with open(os.path.join(cartella, "dimensioni.xls"), "wb") as f:
        f.write(composto("Book", globali + foglio))


def main():
    cartella = sys.argv[1]
    piccoli = "--piccoli" in sys.argv[2:]
    os.makedirs(cartella, exist_ok=True)
    righe_ripetute(cartella)
    dimensioni_xls(cartella, 65535, 256)
    if piccoli:
        gettone_lungo(cartella, "gettone-lungo.xlsx", 32 << 20)
        nomi_fogli_enormi(cartella, 2, 1 << 20)
        fogli_innumerevoli(cartella, 10001)
        testi_vuoti(cartella, (1 << 24) + 1)
    else:
        gettone_lungo(cartella, "gettone-lungo.xlsx", 32 << 20)
        gettone_lungo(cartella, "gettone-1gb.xlsx", 1 << 30)
        nomi_fogli_enormi(cartella, 2400, 1 << 20)
        fogli_innumerevoli(cartella, 8700000)
        testi_vuoti(cartella, 52000000)


if __name__ == "__main__":
    main()
