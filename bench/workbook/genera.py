#!/usr/bin/python3
"""Makes the benchmark workbooks: an FE sheet of invoices issued, with the columns of the quadro
(A partita IVA, B codice fiscale, C-F flags and leasing, G-H dates, I number, J-K amounts, L flag).

  genera.py DIR   writes DIR/fe-65536.xls (xlwt: the whole sheet, 65,536 rows, data from row 4),
                  DIR/fe-65536.xlsx and DIR/fe-500000.xlsx (openpyxl in write-only mode).
"""
import datetime
import os
import sys

import openpyxl
import xlwt
from openpyxl.cell import WriteOnlyCell

INTESTAZIONI = ["Partita IVA", "Codice fiscale", "Documento riepilogativo", "IVA non esposta",
                "Noleggio/leasing (A-E)", "Autofattura", "Data documento", "Data registrazione",
                "Numero documento", "Imponibile/importo", "Imposta", "Importo > 999.999 (conferma)"]
INIZIO = datetime.date(2013, 1, 1)


def riga(i):
    data = INIZIO + datetime.timedelta(days=i % 365)
    registrazione = data + datetime.timedelta(days=3)
    imponibile = 100 + (i * 37 % 100000) / 100
    return ["%011d" % (1000000000 + i * 7919 % 8999999999), None, None, None,
            "A" if i % 50 == 0 else None, None, data, registrazione, "FT %d/2013" % (i + 1),
            imponibile, round(imponibile * 0.21, 2), None]


def scrivi_xls(percorso, righe_dati):
    cartella = xlwt.Workbook(encoding="utf-8")
    cartella.add_sheet("ISTRUZIONI").write(0, 0, "Foglio di prova")
    foglio = cartella.add_sheet("FE")
    formato_data = xlwt.easyxf(num_format_str="DD/MM/YYYY")
    foglio.write(0, 0, "Quadro FE")
    for c, t in enumerate(INTESTAZIONI):
        foglio.write(2, c, t)
    for i in range(righe_dati):
        for c, v in enumerate(riga(i)):
            if v is None:
                continue
            if isinstance(v, datetime.date):
                foglio.write(3 + i, c, v, formato_data)
            else:
                foglio.write(3 + i, c, v)
        if i % 1000 == 0:
            foglio.flush_row_data()
    cartella.save(percorso)


def scrivi_xlsx(percorso, righe_dati):
    cartella = openpyxl.Workbook(write_only=True)
    cartella.create_sheet("ISTRUZIONI").append(["Foglio di prova"])
    foglio = cartella.create_sheet("FE")
    foglio.append(["Quadro FE"])
    foglio.append([])
    foglio.append(INTESTAZIONI)
    for i in range(righe_dati):
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


def main():
    cartella = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(cartella, exist_ok=True)
    piani = [("fe-65536.xls", scrivi_xls, 65536 - 3), ("fe-65536.xlsx", scrivi_xlsx, 65536 - 3),
             ("fe-500000.xlsx", scrivi_xlsx, 500000)]
    for nome, scrivi, righe in piani:
        percorso = os.path.join(cartella, nome)
        if not os.path.exists(percorso):
            print("scrivo", percorso, file=sys.stderr)
            scrivi(percorso, righe)


if __name__ == "__main__":
    main()
