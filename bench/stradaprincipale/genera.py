#!/usr/bin/python3
"""Makes the workbooks of the main road benchmark, with data the run accepts without errors:
partite IVA and codici fiscali with their check characters, dates in 2025, positive amounts.

  genera.py DIR   writes into DIR, unless they are there already:
    an-1000.xlsx      FE sheet, 1,000 analytical rows (openpyxl, write-only mode)
    an-65536.xls      FE sheet filled to the last .xls row: 65,533 rows from row 4 (xlwt)
    an-50000.xlsx     FE sheet, 50,000 analytical rows (for callgrind profiles)
    an-500000.xlsx    FE sheet, 500,000 analytical rows
    an-1000000.xlsx   FE sheet, 1,000,000 analytical rows
    ag-300000.xlsx    aggregated data: FA, SA and BL sheets of 100,000 rows each
"""
import datetime
import os
import sys

import openpyxl
import xlwt
from openpyxl.cell import WriteOnlyCell

INIZIO = datetime.date(2025, 1, 1)
INTESTAZIONI_FE = ["Partita IVA", "Codice fiscale", "Documento riepilogativo", "IVA non esposta",
                   "Noleggio/leasing (A-E)", "Autofattura", "Data documento",
                   "Data registrazione", "Numero documento", "Imponibile/importo", "Imposta",
                   "Importo > 999.999 (conferma)"]
INTESTAZIONI_FA = ["Partita IVA", "Codice fiscale", "Documento riepilogativo",
                   "N. operazioni attive", "N. operazioni passive", "Noleggio/leasing",
                   "Attive: imponibile", "Attive: imposta", "Attive: IVA non esposta",
                   "Attive: note var. imponibile", "Attive: note var. imposta",
                   "Passive: imponibile", "Passive: imposta", "Passive: IVA non esposta",
                   "Passive: note var. imponibile", "Passive: note var. imposta"]
INTESTAZIONI_SA = ["Codice fiscale", "N. operazioni", "Importo complessivo", "Noleggio/leasing"]
INTESTAZIONI_BL = ["Cognome", "Nome", "Data di nascita", "Comune/Stato estero nascita",
                   "Provincia nascita", "Stato estero domicilio", "Denominazione",
                   "Città estera sede", "Stato estero sede", "Indirizzo estero sede",
                   "Codice identificativo IVA", "Paesi black list", "Operazioni con non residenti",
                   "Acquisti di servizi", "Attive: imponibile", "Attive: imposta",
                   "Attive: non imponibili", "Attive: esenti", "Passive: imponibile",
                   "Passive: imposta", "Passive: non imponibili", "Passive: esenti",
                   "Attive: note var.", "Passive: note var.", "Passive: imposta note var."]


def partita_iva(i):
    # Seven digits of the taxpayer, three of an office that exists (001-100).
    base = "%07d%03d" % (1000000 + i * 7919 % 8999999, 1 + i % 100)
    somma = 0
    for k, c in enumerate(base):
        d = int(c)
        if k % 2:
            d *= 2
            if d > 9:
                d -= 9
        somma += d
    return base + str((10 - somma % 10) % 10)


DISPARI = {c: v for c, v in zip("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                [1, 0, 5, 7, 9, 13, 15, 17, 19, 21] +
                                [1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8,
                                 12, 14, 16, 10, 22, 25, 24, 23])}
LETTERE = "BCDFGLMNPRSTVZ"
MESI = "ABCDEHLMPRST"


def codice_fiscale(i):
    l = lambda k: LETTERE[(i // 14 ** k) % 14]
    corpo = (l(0) + l(1) + l(2) + l(3) + l(4) + l(5) + "%02d" % (40 + i % 50) + MESI[i % 12] +
             "%02d" % (1 + i % 28) + "H501")
    somma = 0
    for k, c in enumerate(corpo):
        somma += DISPARI[c] if k % 2 == 0 else (int(c) if c.isdigit() else ord(c) - 65)
    return corpo + chr(65 + somma % 26)


def riga_fe(i):
    data = INIZIO + datetime.timedelta(days=i % 360)
    registrazione = data + datetime.timedelta(days=3)
    imponibile = 100 + (i * 37 % 100000) / 100
    return [partita_iva(i), None, None, None, "A" if i % 50 == 0 else None, None, data,
            registrazione, "FT %d/2025" % (i + 1), imponibile, round(imponibile * 0.22, 2), None]


def riga_fa(i):
    imponibile = 1000 + i * 37 % 100000
    return [partita_iva(i), None, None, 1 + i % 9, i % 3, None, imponibile,
            round(imponibile * 0.22), None, None, None, i % 500, round(i % 500 * 0.22), None,
            None, None]


def riga_sa(i):
    return [codice_fiscale(i), 1 + i % 5, 3600 + i * 13 % 50000, "A" if i % 40 == 0 else None]


def riga_bl(i):
    imponibile = 500 + i * 41 % 80000
    return [None, None, None, None, None, None, "IMPRESA ESTERA %d LTD" % i, "LONDON", 31,
            "%d HIGH STREET" % (1 + i % 300), None, None, "1", None, imponibile, None, None,
            None, None, None, None, None, None, None, None]


def scrivi_xls(percorso, fogli):
    cartella = xlwt.Workbook(encoding="utf-8")
    cartella.add_sheet("ISTRUZIONI").write(0, 0, "Foglio di prova")
    formato_data = xlwt.easyxf(num_format_str="DD/MM/YYYY")
    for nome, intestazioni, prima, riga, n in fogli:
        foglio = cartella.add_sheet(nome)
        foglio.write(0, 0, "Quadro " + nome)
        for c, t in enumerate(intestazioni):
            foglio.write(prima - 2, c, t)
        for i in range(n):
            for c, v in enumerate(riga(i)):
                if v is None:
                    continue
                if isinstance(v, datetime.date):
                    foglio.write(prima - 1 + i, c, v, formato_data)
                else:
                    foglio.write(prima - 1 + i, c, v)
            if i % 1000 == 0:
                foglio.flush_row_data()
    cartella.save(percorso)


def scrivi_xlsx(percorso, fogli):
    cartella = openpyxl.Workbook(write_only=True)
    cartella.create_sheet("ISTRUZIONI").append(["Foglio di prova"])
    for nome, intestazioni, prima, riga, n in fogli:
        foglio = cartella.create_sheet(nome)
        foglio.append(["Quadro " + nome])
        for _ in range(prima - 3):
            foglio.append([])
        foglio.append(intestazioni)
        for i in range(n):
            valori = []
            for v in riga(i):
                if isinstance(v, datetime.date):
                    cella = WriteOnlyCell(foglio, value=v)
                    cella.number_format = "DD/MM/YYYY"
                    valori.append(cella)
                else:
                    valori.append(v)
            foglio.append(valori)
    cartella.save(percorso)


def fe(n):
    return [("FE", INTESTAZIONI_FE, 4, riga_fe, n)]


# name, writer, sheets (name, headings, first data row, row maker, rows)
PIANI = [
    ("an-1000.xlsx", scrivi_xlsx, fe(1000)),
    ("an-65536.xls", scrivi_xls, fe(65536 - 3)),
    ("ag-300000.xlsx", scrivi_xlsx, [("FA", INTESTAZIONI_FA, 4, riga_fa, 100000),
                                     ("SA", INTESTAZIONI_SA, 3, riga_sa, 100000),
                                     ("BL", INTESTAZIONI_BL, 5, riga_bl, 100000)]),
    ("an-50000.xlsx", scrivi_xlsx, fe(50000)),
    ("an-500000.xlsx", scrivi_xlsx, fe(500000)),
    ("an-1000000.xlsx", scrivi_xlsx, fe(1000000)),
]


def main():
    cartella = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(cartella, exist_ok=True)
    for nome, scrivi, fogli in PIANI:
        percorso = os.path.join(cartella, nome)
        if not os.path.exists(percorso):
            print("scrivo", percorso, file=sys.stderr)
            scrivi(percorso + ".parziale", fogli)
            os.replace(percorso + ".parziale", percorso)


if __name__ == "__main__":
    main()
