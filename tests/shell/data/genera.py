#!/usr/bin/python3
"""Makes the small ATECO workbook that the shell tests load: `/usr/bin/python3 tests/shell/data/genera.py`.
Needs python3-openpyxl. The file is committed, so the tests never need Python.

ateco.xlsx: a title row, a blank row, the header as ISTAT writes it ("Codice Ateco 2007", "Titolo Ateco
2007") and four codes stored as text, the way ISTAT's workbook stores them.
"""
import os

import openpyxl

QUI = os.path.dirname(os.path.abspath(__file__))

wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Ateco 2007"
ws.append(["Classificazione delle attività economiche ATECO 2007"])
ws.append([])
ws.append(["Codice Ateco 2007", "Titolo Ateco 2007"])
for codice, titolo in [("A", "AGRICOLTURA, SILVICOLTURA E PESCA"), ("01", "COLTIVAZIONI AGRICOLE E PRODUZIONE DI PRODOTTI ANIMALI, CACCIA E SERVIZI CONNESSI"),
                       ("01.11.10", "Coltivazione di cereali (escluso il riso)"), ("96.09.05", "Organizzazione di feste e cerimonie")]:
    ws.append([codice, titolo])
for row in ws.iter_rows(min_row=4):
    row[0].number_format = "@"
wb.properties.creator = "fiscolario"
wb.save(os.path.join(QUI, "ateco.xlsx"))
