#!/usr/bin/python3
"""Writes rilievi.xlsx, the workbook of the test of the check that closes a creation: analytical
data of 2025 where every value is right but for four faults the check must find, each in its cell:

  FE row 5, column A: a partita IVA with a wrong check digit;
  FE row 6, column B: a codice fiscale with a wrong check letter;
  FE row 7, columns A and B: both a partita IVA and a codice fiscale for one counterpart;
  SE row 4: a purchase from a San Marino supplier (state code 37, column I), in a communication
            created without the month.

Usage: genera_rilievi.py OUTPUT.xlsx
"""
import datetime as dt
import pathlib
import sys

from openpyxl import Workbook

# The check characters are computed as for the example workbook.
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[3] / "tools" / "esempio"))
from genera_esempio import codice_fiscale, partita_iva  # noqa: E402


def main() -> None:
    d = lambda m, g: dt.datetime(2025, m, g)  # noqa: E731
    wb = Workbook()
    wb.active.title = "ISTRUZIONI"

    def foglio(nome, righe):
        ws = wb.create_sheet(nome)
        ws["A1"] = f"Quadro {nome}"
        for r, riga in enumerate(righe, start=4):
            for c, valore in enumerate(riga, start=1):
                if valore is not None:
                    ws.cell(row=r, column=c, value=valore)

    buona = partita_iva("0123456016")
    sbagliata = buona[:-1] + str((int(buona[-1]) + 1) % 10)
    cf = codice_fiscale("RSSMRA75C12F205")
    cf_sbagliato = cf[:-1] + ("A" if cf[-1] != "A" else "B")
    foglio("FE", [
        [buona, None, None, None, None, None, d(1, 15), d(1, 15), "1/2025", 12500.0, 2750.0],
        [sbagliata, None, None, None, None, None, d(2, 3), d(2, 4), "2/2025", 8340.0, 1834.8],
        [None, cf_sbagliato, None, None, None, None, d(3, 21), d(3, 21), "3/2025", 4200.0, 924.0],
        [buona, cf, None, None, None, None, d(5, 9), d(5, 10), "4/2025", 1850.0, 407.0],
    ])
    foglio("SE", [
        [None, None, None, None, None, None, "Servizi Titani SRL", "San Marino", 37,
         "Via del Serrone 12", "SM01234", d(3, 1), d(3, 5), "F-77", 1980.0, 435.6],
    ])
    wb.save(sys.argv[1])


if __name__ == "__main__":
    main()
