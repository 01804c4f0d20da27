#!/usr/bin/python3
"""Makes the small workbooks the reader tests read, in .xls, .xlsx and .ods.

Run it from anywhere: `/usr/bin/python3 tests/workbook/data/genera.py`. It needs python3-openpyxl and
python3-xlwt (Debian packages). The files it writes are committed, so the tests never need Python.

The same content goes into the three formats ("campione" and "duefogli"), so that a test can read
them cell by cell and expect the same texts. "speciale.xlsx" and "speciale.ods" are written by hand,
XML and all, to hold what the spreadsheet writers here cannot make: rows and cells without their
reference, the 1904 date system, rich text, inline strings, formulas with and without a computed
value, error values, repeated and covered cells, a million repeated empty rows.
"""
import datetime
import io
import os
import struct
import zipfile
from xml.sax.saxutils import escape, quoteattr

import openpyxl
import xlwt
from openpyxl.utils import get_column_letter

QUI = os.path.dirname(os.path.abspath(__file__))
D = datetime.date

# Rows as {(row, column): value}, both from 1. Values: str, int, float, date, bool.
FE = {
    (1, 1): "Fatture emesse e documenti riepilogativi",
    (3, 1): "Partita IVA", (3, 2): "Codice fiscale", (3, 7): "Data documento",
    (4, 1): "01234567890", (4, 3): "X", (4, 5): "A", (4, 7): D(2013, 3, 5),
    (4, 8): D(2013, 12, 31), (4, 9): "FT 1/2013", (4, 10): 1234.5, (4, 11): 271.59,
    (4, 25): "colonna Y", (4, 26): "oltre la Y",
    (5, 1): "ÀÈÉ€ àèìòù «»", (5, 3): 123456789012345, (5, 4): 0.1 + 0.2, (5, 5): -50,
    (5, 6): 0.0000001, (5, 7): D(2012, 2, 29), (5, 8): 42, (5, 9): 1234567.891,
    (5, 10): 1e15, (5, 11): 123456789012345678, (5, 12): -0.5,
    (6, 1): "  spazi attorno  ", (6, 2): "riga uno\nriga due", (6, 7): D(1999, 12, 31),
    (6, 10): 0, (6, 11): 99.99,
    (8, 10): "solo J",
    (9, 25): 7,
}
BOOLEANI = {(6, 3): True, (6, 4): False}
FA = {(1, 1): "foglio in minuscolo", (4, 1): "12345678901", (4, 4): 3, (4, 7): 1000.25}
SA = {(3, 1): "RSSMRA80A01H501U", (3, 2): 2, (3, 3): 150.5}
ISTRUZIONI = {(1, 1): "Istruzioni"}

CAMPIONE = [("Istruzioni", ISTRUZIONI), ("FE", {**FE, **BOOLEANI}), ("fa", FA), ("SA", SA)]
DUE_FOGLI = [("Istruzioni", ISTRUZIONI), ("FA", FA)]


def scrivi_xls(nome, fogli):
    cartella = xlwt.Workbook(encoding="utf-8")
    formato_data = xlwt.easyxf(num_format_str="DD/MM/YYYY")
    testo_a_capo = xlwt.easyxf("align: wrap on")
    for titolo, celle in fogli:
        foglio = cartella.add_sheet(titolo)
        for (r, c), v in sorted(celle.items()):
            if isinstance(v, D):
                foglio.write(r - 1, c - 1, v, formato_data)
            elif isinstance(v, str) and "\n" in v:
                foglio.write(r - 1, c - 1, v, testo_a_capo)
            elif isinstance(v, int) and not isinstance(v, bool) and abs(v) >= 2**31:
                foglio.write(r - 1, c - 1, float(v))
            else:
                foglio.write(r - 1, c - 1, v)
    cartella.save(os.path.join(QUI, nome))


def scrivi_xlsx(nome, fogli):
    cartella = openpyxl.Workbook()
    cartella.remove(cartella.active)
    for titolo, celle in fogli:
        foglio = cartella.create_sheet(titolo)
        for (r, c), v in sorted(celle.items()):
            cella = foglio.cell(row=r, column=c, value=v)
            if isinstance(v, D):
                cella.number_format = "DD/MM/YYYY"
    cartella.save(os.path.join(QUI, nome))


ODS_NS = (
    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
    'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" '
    'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" '
    'xmlns:dc="http://purl.org/dc/elements/1.1/" '
    'xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" '
    'xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0" '
    'office:version="1.2"'
)


def paragrafi(testo):
    return "".join("<text:p>%s</text:p>" % escape(p) for p in testo.split("\n"))


def cella_ods(v):
    if v is None:
        return "<table:table-cell/>"
    if isinstance(v, bool):
        return ('<table:table-cell office:value-type="boolean" office:boolean-value="%s">'
                "<text:p>%s</text:p></table:table-cell>" % ("true" if v else "false",
                                                            "VERO" if v else "FALSO"))
    if isinstance(v, D):
        return ('<table:table-cell office:value-type="date" office:date-value="%s">'
                "<text:p>%s</text:p></table:table-cell>" % (v.isoformat(), v.strftime("%d/%m/%Y")))
    if isinstance(v, (int, float)):
        return ('<table:table-cell office:value-type="float" office:value="%s">'
                "<text:p>%s</text:p></table:table-cell>" % (repr(float(v)) if isinstance(v, float)
                                                            else str(v), v))
    return '<table:table-cell office:value-type="string">%s</table:table-cell>' % paragrafi(v)


def tabella_ods(titolo, celle):
    righe = max(r for r, _ in celle)
    parti = ["<table:table table:name=%s>" % quoteattr(titolo),
             '<table:table-column table:number-columns-repeated="1024"/>']
    r = 1
    while r <= righe:
        colonne = [c for (rr, c) in celle if rr == r]
        if not colonne:
            # Empty rows in a run, as spreadsheet programs write them.
            fine = r
            while fine + 1 <= righe and not any(rr == fine + 1 for rr, _ in celle):
                fine += 1
            parti.append('<table:table-row table:number-rows-repeated="%d">'
                         '<table:table-cell table:number-columns-repeated="1024"/>'
                         "</table:table-row>" % (fine - r + 1))
            r = fine + 1
            continue
        parti.append("<table:table-row>")
        c = 1
        ultima = max(colonne)
        while c <= ultima:
            if (r, c) in celle:
                parti.append(cella_ods(celle[(r, c)]))
                c += 1
            else:
                fine = c
                while fine + 1 <= ultima and (r, fine + 1) not in celle:
                    fine += 1
                parti.append('<table:table-cell table:number-columns-repeated="%d"/>'
                             % (fine - c + 1))
                c = fine + 1
        parti.append('<table:table-cell table:number-columns-repeated="%d"/>' % (1024 - ultima))
        parti.append("</table:table-row>")
        r += 1
    # The empty rest of the sheet, as one repeated row.
    parti.append('<table:table-row table:number-rows-repeated="%d">'
                 '<table:table-cell table:number-columns-repeated="1024"/></table:table-row>'
                 % (1048576 - righe))
    parti.append("</table:table>")
    return "".join(parti)


def scrivi_ods(nome, tabelle_xml, cifrato=False):
    contenuto = ('<?xml version="1.0" encoding="UTF-8"?>'
                 "<office:document-content %s><office:body><office:spreadsheet>%s"
                 "</office:spreadsheet></office:body></office:document-content>"
                 % (ODS_NS, "".join(tabelle_xml)))
    cifratura = ('<manifest:encryption-data manifest:checksum-type="SHA1/1K" '
                 'manifest:checksum="AAAA"/>' if cifrato else "")
    manifesto = ('<?xml version="1.0" encoding="UTF-8"?>'
                 '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:'
                 'manifest:1.0" manifest:version="1.2">'
                 '<manifest:file-entry manifest:full-path="/" manifest:media-type="application/'
                 'vnd.oasis.opendocument.spreadsheet"/>'
                 '<manifest:file-entry manifest:full-path="content.xml" '
                 'manifest:media-type="text/xml">%s</manifest:file-entry>'
                 "</manifest:manifest>" % cifratura)
    with zipfile.ZipFile(os.path.join(QUI, nome), "w") as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet",
                   compress_type=zipfile.ZIP_STORED)
        z.writestr("content.xml", contenuto, compress_type=zipfile.ZIP_DEFLATED)
        z.writestr("META-INF/manifest.xml", manifesto, compress_type=zipfile.ZIP_DEFLATED)


def scrivi_tutti(base, fogli):
    scrivi_xls(base + ".xls", fogli)
    scrivi_xlsx(base + ".xlsx", fogli)
    scrivi_ods(base + ".ods", [tabella_ods(t, c) for t, c in fogli])


# ---- speciale.xlsx, written by hand ----

NS_MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
NS_REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
NS_PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
TIPO = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"


def scrivi_speciale_xlsx():
    tipi = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.'
            'relationships+xml"/><Default Extension="xml" ContentType="application/xml"/>'
            "</Types>")
    radice = ('<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="%s">'
              '<Relationship Id="rId1" Type="%sofficeDocument" Target="xl/workbook.xml"/>'
              "</Relationships>" % (NS_PKG, TIPO))
    # The sheets are listed in an order different from their part names; a chart sheet sits
    # between them and is no worksheet.
    cartella = ('<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="%s" xmlns:r="%s">'
                '<workbookPr date1904="1"/><sheets>'
                '<sheet name="Dati" sheetId="1" r:id="rId3"/>'
                '<sheet name="Grafico" sheetId="2" r:id="rId9"/>'
                '<sheet name="Prefissi" sheetId="3" r:id="rId2"/>'
                "</sheets></workbook>" % (NS_MAIN, NS_REL))
    relazioni = ('<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="%s">'
                 '<Relationship Id="rId2" Type="%sworksheet" Target="worksheets/sheet1.xml"/>'
                 '<Relationship Id="rId3" Type="%sworksheet" Target="/xl/worksheets/../worksheets/'
                 'sheet2.xml"/>'
                 '<Relationship Id="rId9" Type="%schartsheet" Target="chartsheets/sheet1.xml"/>'
                 '<Relationship Id="rId4" Type="%ssharedStrings" Target="sharedStrings.xml"/>'
                 '<Relationship Id="rId5" Type="%sstyles" Target="styles.xml"/>'
                 "</Relationships>" % (NS_PKG, TIPO, TIPO, TIPO, TIPO, TIPO))
    stili = ('<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="%s">'
             '<numFmts count="3"><numFmt numFmtId="164" formatCode="[$-410]dd\\ mmmm\\ yyyy"/>'
             '<numFmt numFmtId="165" formatCode="0.00&quot; giorni&quot;"/>'
             '<numFmt numFmtId="166" formatCode="[Red]#,##0.00"/></numFmts>'
             '<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>'
             '<cellXfs count="6"><xf numFmtId="0"/><xf numFmtId="14" applyNumberFormat="1"/>'
             '<xf numFmtId="164"/><xf numFmtId="165"/><xf numFmtId="166"/><xf numFmtId="21"/>'
             "</cellXfs></styleSheet>" % NS_MAIN)
    testi = ('<?xml version="1.0" encoding="UTF-8"?><sst xmlns="%s" count="3" uniqueCount="3">'
             "<si><t>semplice</t></si>"
             '<si><r><rPr><b/></rPr><t>ricco </t></r><r><t xml:space="preserve">in due</t></r>'
             "<rPh sb=\"0\" eb=\"1\"><t>FONETICA</t></rPh></si>"
             "<si><t>a_x000D_b_x005F_x0041_</t></si>"
             "</sst>" % NS_MAIN)
    # Row 1 and row 2 have no r; then row 5 by reference; cells without r follow the one before.
    # Dates: 1904 system, so serial 0 is 01/01/1904 and 40000 is 06/07/2013... (40000+1462).
    dati = ('<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="%s"><sheetData>'
            '<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c><c t="s"><v>2</v></c></row>'
            '<row><c s="1"><v>0</v></c><c s="2"><v>40000</v></c><c s="3"><v>12.5</v></c>'
            '<c s="4"><v>-3</v></c><c s="5"><v>0.75</v></c></row>'
            '<row r="5" spans="1:25">'
            '<c r="A5" t="inlineStr"><is><t>in linea</t></is></c>'
            '<c r="B5" t="inlineStr"><is><r><t>in </t></r><r><t>pezzi</t></r>'
            "<rPh><t>X</t></rPh></is></c>"
            '<c r="C5" t="e"><v>#N/A</v></c>'
            '<c r="D5"><f>1+2</f><v>3</v></c>'
            '<c r="E5" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>'
            '<c r="F5"><f>SUM(A1:A3)</f></c>'
            '<c r="G5" t="b"><v>1</v></c><c r="H5" t="b"><v>0</v></c>'
            '<c r="I5" t="d"><v>2013-03-05T00:00:00</v></c>'
            '<c r="J5" s="1"/>'
            '<c r="Y5"><v>25</v></c><c r="Z5"><v>26</v></c><c r="AA5"><v>27</v></c>'
            "</row>"
            '<row r="7"><c r="J7"><v>1E-3</v></c></row>'
            "</sheetData></worksheet>" % NS_MAIN)
    prefissi = ('<?xml version="1.0" encoding="UTF-8"?><x:worksheet xmlns:x="%s"><x:sheetData>'
                '<x:row r="2"><x:c r="B2"><x:v>7</x:v></x:c></x:row>'
                "</x:sheetData></x:worksheet>" % NS_MAIN)
    with zipfile.ZipFile(os.path.join(QUI, "speciale.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", tipi)
        z.writestr("_rels/.rels", radice)
        z.writestr("xl/workbook.xml", cartella)
        z.writestr("xl/_rels/workbook.xml.rels", relazioni)
        z.writestr("xl/styles.xml", stili)
        z.writestr("xl/sharedStrings.xml", testi)
        z.writestr("xl/worksheets/sheet1.xml", prefissi)
        z.writestr("xl/worksheets/sheet2.xml", dati)
        z.writestr("xl/chartsheets/sheet1.xml", "<chartsheet xmlns=\"%s\"/>" % NS_MAIN)


def scrivi_speciale_ods():
    primo = (
        '<table:table table:name="Valori">'
        "<table:table-header-rows><table:table-row>"
        '<table:table-cell office:value-type="string"><text:p>Intestazione</text:p></table:table-cell>'
        "</table:table-row></table:table-header-rows>"
        "<table:table-row-group><table:table-row>"
        '<table:table-cell office:value-type="percentage" office:value="0.22"><text:p>22%</text:p>'
        "</table:table-cell>"
        '<table:table-cell office:value-type="currency" office:currency="EUR" office:value="1500.5">'
        "<text:p>1.500,50 €</text:p></table:table-cell>"
        '<table:table-cell office:value-type="time" office:time-value="PT10H30M15S">'
        "<text:p>10:30:15</text:p></table:table-cell>"
        '<table:table-cell office:value-type="date" office:date-value="2013-03-05T18:00:00">'
        "<text:p>05/03/2013 18:00</text:p></table:table-cell>"
        '<table:table-cell office:value-type="boolean" office:boolean-value="true">'
        "<text:p>VERO</text:p></table:table-cell>"
        '<table:table-cell table:formula="of:=1/0" office:value-type="float" office:value="0" '
        'calcext:value-type="error"><text:p>#DIV/0!</text:p></table:table-cell>'
        '<table:table-cell office:value-type="string" office:string-value="dal valore">'
        "<text:p>dal testo</text:p></table:table-cell>"
        "</table:table-row></table:table-row-group>"
        "<table:table-row>"
        '<table:table-cell office:value-type="string"><text:p>uno<text:s text:c="3"/>due'
        "<text:s/>tre</text:p><text:p>secondo <text:span>paragrafo</text:span></text:p>"
        "<office:annotation><dc:creator>io</dc:creator><text:p>NOTA</text:p></office:annotation>"
        "</table:table-cell>"
        '<table:table-cell table:number-columns-spanned="2" office:value-type="float" '
        'office:value="5"><text:p>5</text:p></table:table-cell>'
        '<table:covered-table-cell office:value-type="float" office:value="6"><text:p>6</text:p>'
        "</table:covered-table-cell>"
        '<table:table-cell table:number-columns-repeated="3" office:value-type="float" '
        'office:value="9"><text:p>9</text:p></table:table-cell>'
        '<table:table-cell table:number-columns-repeated="18"/>'
        '<table:table-cell office:value-type="string"><text:p>Y</text:p></table:table-cell>'
        '<table:table-cell office:value-type="string"><text:p>Z</text:p></table:table-cell>'
        "</table:table-row>"
        '<table:table-row table:number-rows-repeated="3">'
        '<table:table-cell office:value-type="float" office:value="1"><text:p>1</text:p>'
        "</table:table-cell></table:table-row>"
        '<table:table-row table:number-rows-repeated="1048570"><table:table-cell '
        'table:number-columns-repeated="16384"/></table:table-row>'
        "</table:table>"
    )
    secondo = ('<table:table table:name="Secondo"><table:table-row>'
               '<table:table-cell office:value-type="string"><text:p>ultimo</text:p>'
               "</table:table-cell></table:table-row></table:table>")
    scrivi_ods("speciale.ods", [primo, secondo])


def scrivi_formule_vuote_ods():
    """Sheet FA as LibreOffice Calc saves a template whose rows carry formulas: a formula whose
    result is "" is written with no value type (calcext:value-type "string" and an empty
    paragraph, or nothing at all); numbers and errors computed by formulas carry their type."""
    def testo(t):
        return ('<table:table-cell office:value-type="string" calcext:value-type="string">'
                "<text:p>%s</text:p></table:table-cell>" % t)

    def numero(v):
        return ('<table:table-cell office:value-type="float" office:value="%s" '
                'calcext:value-type="float"><text:p>%s</text:p></table:table-cell>' % (v, v))

    def se(riga, risultato):
        formula = 'of:=IF([.J%d]&gt;5000;[.J%d]*0.22;&quot;&quot;)' % (riga, riga)
        if risultato is None:
            return ('<table:table-cell table:formula="%s" calcext:value-type="string">'
                    "<text:p/></table:table-cell>" % formula)
        return ('<table:table-cell table:formula="%s" office:value-type="float" '
                'office:value="%s" calcext:value-type="float"><text:p>%s</text:p>'
                "</table:table-cell>" % (formula, risultato, risultato))

    vuota = '<table:table-cell table:formula="of:=&quot;&quot;"/>'
    errore = ('<table:table-cell table:formula="of:=1/0" office:value-type="float" '
              'office:value="0" calcext:value-type="error"><text:p>#DIV/0!</text:p>'
              "</table:table-cell>")
    salta = '<table:table-cell table:number-columns-repeated="%d"/>'
    righe = [
        # A formula the file marks as an error, in the heading.
        "<table:table-row>" + testo("Operazioni") + salta % 1 + errore + salta % 1021 +
        "</table:table-row>",
        '<table:table-row table:number-rows-repeated="2">' + salta % 1024 + "</table:table-row>",
        # Two rows of data: K is computed from J.
        "<table:table-row>" + testo("01234567890") + salta % 8 + numero(6000) + se(4, 1320) +
        salta % 1014 + "</table:table-row>",
        "<table:table-row>" + testo("09876543210") + salta % 8 + numero(100) + se(5, None) +
        salta % 1014 + "</table:table-row>",
        # The template's rows below: only formulas whose result is "".
        '<table:table-row table:number-rows-repeated="3">' + vuota * 10 + se(6, None) +
        salta % 1013 + "</table:table-row>",
        '<table:table-row table:number-rows-repeated="1048568">' + salta % 1024 +
        "</table:table-row>",
    ]
    tabella = ('<table:table table:name="FA" table:style-name="ta1">'
               '<table:table-column table:number-columns-repeated="1024"/>%s</table:table>'
               % "".join(righe))
    scrivi_ods("formule-vuote.ods", [tabella_ods("Istruzioni", ISTRUZIONI), tabella])


# ---- protected workbooks ----

def scrivi_xls_protetto():
    """An .xls whose workbook stream carries a FILEPASS record (XOR obfuscation), as a workbook
    saved with a password does. xlwt writes MMS (4+2 bytes) and INTERFACEEND (4+0 bytes) right
    after INTERFACEHDR: both are replaced, in place, by one FILEPASS record of 4+6 bytes."""
    buffer = io.BytesIO()
    cartella = xlwt.Workbook()
    cartella.add_sheet("FA").write(0, 0, "segreto")
    cartella.save(buffer)
    dati = bytearray(buffer.getvalue())
    vecchio = struct.pack("<HHH", 0x00C1, 2, 0) + struct.pack("<HH", 0x00E2, 0)
    posizione = dati.find(vecchio)
    assert posizione > 0
    dati[posizione:posizione + 10] = struct.pack("<HHHHH", 0x002F, 6, 0, 0x1234, 0x5678)
    with open(os.path.join(QUI, "protetto.xls"), "wb") as f:
        f.write(dati)


def scrivi_xlsx_protetto():
    """A compound file like the one a spreadsheet program writes for a .xlsx with a password: no
    Workbook stream, an EncryptedPackage stream instead. Made from an xlwt file by renaming its
    stream in the directory (name in UTF-16 and its length in bytes, terminator included)."""
    buffer = io.BytesIO()
    cartella = xlwt.Workbook()
    cartella.add_sheet("FA")
    cartella.save(buffer)
    dati = bytearray(buffer.getvalue())
    vecchio = "Workbook".encode("utf-16-le")
    posizione = dati.find(vecchio + b"\0\0")
    assert posizione > 0
    nuovo = "EncryptedPackage".encode("utf-16-le") + b"\0\0"
    dati[posizione:posizione + 64] = nuovo + bytes(64 - len(nuovo))
    dati[posizione + 64:posizione + 66] = struct.pack("<H", len(nuovo))
    with open(os.path.join(QUI, "protetto.xlsx"), "wb") as f:
        f.write(dati)


# ---- formule.xls: formulas with their computed values, as a spreadsheet program saves them ----

# The computed value of each formula cell, by (row, column) from 0: a number, a text, a boolean or
# ("errore", code). xlwt itself writes no computed value; its formula record is rewritten here.
RISULTATI = {}


def record(tipo, dati):
    return struct.pack("<HH", tipo, len(dati)) + dati


def record_stringa(testo):
    """A STRING record, split into CONTINUE records past 8224 bytes the way Excel does: each
    continuation starts with the flags byte."""
    doppio = any(ord(c) > 255 for c in testo)
    byte = testo.encode("utf-16-le") if doppio else testo.encode("latin-1")
    larghezza = 2 if doppio else 1
    primo = struct.pack("<HB", len(testo), 1 if doppio else 0)
    spazio = (8224 - len(primo)) // larghezza * larghezza
    uscita = record(0x0207, primo + byte[:spazio])
    byte = byte[spazio:]
    while byte:
        spazio = (8224 - 1) // larghezza * larghezza
        uscita += record(0x003C, bytes([1 if doppio else 0]) + byte[:spazio])
        byte = byte[spazio:]
    return uscita


def formula_con_risultato(self):
    valore = RISULTATI[(self.rowx, self.colx)]
    stringa = b""
    if isinstance(valore, bool):
        risultato = struct.pack("<BBBBHH", 1, 0, 1 if valore else 0, 0, 0, 0xFFFF)
    elif isinstance(valore, tuple):
        risultato = struct.pack("<BBBBHH", 2, 0, valore[1], 0, 0, 0xFFFF)
    elif isinstance(valore, str):
        risultato = struct.pack("<BBBBHH", 0, 0, 0, 0, 0, 0xFFFF)
        stringa = record_stringa(valore)
    else:
        risultato = struct.pack("<d", valore)
    dati = struct.pack("<3H", self.rowx, self.colx, self.xf_idx) + risultato + \
        struct.pack("<HL", self.calc_flags & 3, 0) + self.frmla.rpn()
    return record(0x0006, dati) + stringa


def scrivi_formule_xls():
    originale = xlwt.Cell.FormulaCell.get_biff_data
    xlwt.Cell.FormulaCell.get_biff_data = formula_con_risultato
    try:
        cartella = xlwt.Workbook()
        foglio = cartella.add_sheet("Formule")
        formato_data = xlwt.easyxf(num_format_str="DD/MM/YYYY")
        foglio.write(0, 0, 1.5)
        foglio.write(0, 1, 2)
        celle = [
            (0, 2, "A1+B1", 3.5, None),
            (0, 3, "A1*1000", 41338.0, formato_data),
            (0, 4, '"abc "&"àè"', "abc àè", None),
            (0, 5, "A1>1", True, None),
            (0, 6, "A1/0", ("errore", 0x07), None),
            (0, 7, 'REPT("€",5000)', "€" * 5000, None),
            (0, 8, 'REPT("a",9000)', "a" * 9000, None),
            (0, 9, '""', "", None),
            (0, 26, "1+1", 2.0, None),
            (1, 0, "A1", 1.5, None),
        ]
        for r, c, testo, valore, stile in celle:
            RISULTATI[(r, c)] = valore
            if stile is None:
                foglio.write(r, c, xlwt.Formula(testo))
            else:
                foglio.write(r, c, xlwt.Formula(testo), stile)
        foglio.row(1).set_cell_error(1, 0x2A)
        foglio.write(1, 2, True)
        foglio.write(1, 3, False)
        foglio.write(1, 4, 1)
        cartella.save(os.path.join(QUI, "formule.xls"))
    finally:
        xlwt.Cell.FormulaCell.get_biff_data = originale


def scrivi_xls_vecchio():
    """The campione workbook with its stream named "Book", as Excel 5.0/95 names it: the reader
    leaves such files to FreeXL."""
    with open(os.path.join(QUI, "campione.xls"), "rb") as f:
        dati = bytearray(f.read())
    vecchio = "Workbook".encode("utf-16-le") + b"\0\0"
    posizione = dati.find(vecchio)
    assert posizione > 0
    nuovo = "Book".encode("utf-16-le") + b"\0\0"
    dati[posizione:posizione + 64] = nuovo + bytes(64 - len(nuovo))
    dati[posizione + 64:posizione + 66] = struct.pack("<H", len(nuovo))
    with open(os.path.join(QUI, "vecchio.xls"), "wb") as f:
        f.write(dati)


def main():
    scrivi_tutti("campione", CAMPIONE)
    scrivi_tutti("duefogli", DUE_FOGLI)
    scrivi_speciale_xlsx()
    scrivi_speciale_ods()
    scrivi_formule_vuote_ods()
    scrivi_formule_xls()
    scrivi_xls_vecchio()
    scrivi_xls_protetto()
    scrivi_xlsx_protetto()
    scrivi_ods("protetto.ods", [tabella_ods("FA", FA)], cifrato=True)
    with open(os.path.join(QUI, "testo.xls"), "w") as f:
        f.write("Partita IVA;Importo\n01234567890;1234,5\n")
    with zipfile.ZipFile(os.path.join(QUI, "archivio.xlsx"), "w") as z:
        z.writestr("leggimi.txt", "non è una cartella di lavoro")


if __name__ == "__main__":
    main()
