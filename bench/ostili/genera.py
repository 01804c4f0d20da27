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
"""
import os
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


def main():
    cartella = sys.argv[1]
    piccoli = "--piccoli" in sys.argv[2:]
    os.makedirs(cartella, exist_ok=True)
    righe_ripetute(cartella)
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
