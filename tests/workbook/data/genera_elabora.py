#!/usr/bin/python3
"""Makes the two small .xls workbooks the tests of the workbook run read through the real readers.

Run it from anywhere: `/usr/bin/python3 tests/workbook/data/genera_elabora.py`. It needs python3-xlwt
(Debian package). The files are committed, so the tests never need Python.

elabora.xls: ISTRUZIONI, FA (4 rows), FE (2 rows, number, date and text-date cells), BL (A5 reads
PERSONE FISICHE, one row at 7), an unrecognised sheet "Note" and an SA sheet after it that is never
read. elabora_errori.xls: an FE sheet with a date that does not exist and a negative amount.
"""
import datetime
import os

import xlwt

QUI = os.path.dirname(os.path.abspath(__file__))
DATA = xlwt.easyxf(num_format_str="DD/MM/YYYY")
D = datetime.date


def foglio(wb, nome, celle):
    ws = wb.add_sheet(nome)
    for (riga, colonna), valore in celle.items():
        if isinstance(valore, datetime.date):
            ws.write(riga - 1, colonna - 1, valore, DATA)
        else:
            ws.write(riga - 1, colonna - 1, valore)


def elabora():
    wb = xlwt.Workbook(encoding="utf-8")
    foglio(wb, "ISTRUZIONI", {(1, 1): "Comunicazione polivalente", (4, 1): "12345678901"})
    foglio(wb, "FA", {
        (1, 1): "Operazioni documentate da fattura", (3, 1): "Partita IVA", (3, 2): "Codice fiscale",
        (4, 1): "01234567890", (4, 4): 3, (4, 7): 1234.99,
        (5, 2): "rssmra80a01h501u", (5, 5): 2, (5, 12): 500,
        (6, 3): "1", (6, 7): 10,
        (7, 1): 987654321, (7, 7): -5, (7, 8): 22,
    })
    foglio(wb, "FE", {
        (3, 1): "Partita IVA", (3, 7): "Data documento",
        (4, 1): 1234567890, (4, 3): "X", (4, 7): D(2013, 3, 5), (4, 8): "1/2/2013",
        (4, 9): "FT 1/2013", (4, 10): 1234.5, (4, 11): 271.59,
        (5, 1): "12345678901", (5, 7): D(2013, 12, 31), (5, 10): 100,
    })
    foglio(wb, "BL", {
        (5, 1): "  PERSONE FISICHE ", (6, 1): "Cognome",
        (7, 1): "Rossi", (7, 2): "Mario", (7, 3): D(1970, 3, 5), (7, 4): "Parigi", (7, 5): "EE",
        (7, 6): 29, (7, 12): "X", (7, 15): 1000,
    })
    foglio(wb, "Note", {(1, 1): "appunti"})
    foglio(wb, "SA", {(3, 1): "RSSMRA80A01H501U", (3, 2): 1})
    wb.save(os.path.join(QUI, "elabora.xls"))


def errori():
    wb = xlwt.Workbook(encoding="utf-8")
    foglio(wb, "ISTRUZIONI", {(1, 1): "Comunicazione polivalente"})
    foglio(wb, "FE", {
        (4, 1): "12345678901", (4, 7): "31/04/2013", (4, 10): -50,
        (5, 1): "12345678901", (5, 7): D(2013, 4, 30), (5, 10): 50,
    })
    wb.save(os.path.join(QUI, "elabora_errori.xls"))


if __name__ == "__main__":
    elabora()
    errori()
