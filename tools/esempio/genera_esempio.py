#!/usr/bin/python3
"""Writes the example workbook shipped with Fiscolario: one fictitious company's analytical data
(FE, FR, NE, NR, DF, FN, SE, TU) for the reference year, with the heading rows of the blank workbook
above each quadro's first data row. Every VAT number and fiscal code carries a right check
character; all names and codes are invented.

Usage: genera_esempio.py OUTPUT.xlsx [YEAR]

The committed resources/esempio/ESEMPIO_ANALITICO.xlsx was made with YEAR 2025.
"""
import datetime as dt
import sys

from openpyxl import Workbook
from openpyxl.styles import Font, PatternFill


def partita_iva(base10: str) -> str:
    """An 11-digit VAT number: the 10 digits given and their check digit."""
    s = 0
    for i, c in enumerate(base10):
        d = int(c)
        if i % 2 == 1:
            d *= 2
            if d > 9:
                d -= 9
        s += d
    return base10 + str((10 - s % 10) % 10)


_DISPARI = {**{str(d): v for d, v in zip(range(10), [1, 0, 5, 7, 9, 13, 15, 17, 19, 21])},
            **{chr(65 + i): v for i, v in enumerate(
                [1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10,
                 22, 25, 24, 23])}}


def codice_fiscale(base15: str) -> str:
    """A 16-character fiscal code: the 15 characters given and their check letter."""
    s = 0
    for i, c in enumerate(base15):
        if (i + 1) % 2 == 0:
            s += int(c) if c.isdigit() else ord(c) - 65
        else:
            s += _DISPARI[c]
    return base15 + chr(65 + s % 26)


def main() -> None:
    out = sys.argv[1]
    anno = int(sys.argv[2]) if len(sys.argv) > 2 else dt.date.today().year - 1
    d = lambda m, g: dt.datetime(anno, m, g)  # noqa: E731

    wb = Workbook()
    istr = wb.active
    istr.title = "ISTRUZIONI"
    istr["A1"] = "Esempio di foglio per la comunicazione polivalente (dati analitici)"
    istr["A1"].font = Font(bold=True, size=14)
    istr["A3"] = ("Dati inventati per la dimostrazione: ogni quadro sta nel foglio con il suo nome; "
                  "le righe di intestazione precedono la prima riga di dati.")

    titolo = Font(bold=True, color="FFFFFF")
    fondo = PatternFill("solid", fgColor="1E2D5A")

    def foglio(nome, descrizione, intestazioni, righe, prima=4):
        ws = wb.create_sheet(nome)
        ws["A1"] = f"Quadro {nome} - {descrizione}"
        ws["A1"].font = Font(bold=True, size=12)
        ws["A2"] = f"Anno di riferimento {anno}"
        for c, testo in enumerate(intestazioni, start=1):
            cella = ws.cell(row=prima - 1, column=c, value=testo)
            cella.font = titolo
            cella.fill = fondo
            ws.column_dimensions[cella.column_letter].width = max(12, min(30, len(testo) + 2))
        for r, riga in enumerate(righe, start=prima):
            for c, valore in enumerate(riga, start=1):
                if valore is None:
                    continue
                cella = ws.cell(row=r, column=c, value=valore)
                if isinstance(valore, dt.datetime):
                    cella.number_format = "DD/MM/YYYY"
                elif isinstance(valore, float):
                    cella.number_format = "#,##0.00"

    # Office codes (digits 8-10) are assigned ones; the rest of each number is invented.
    clienti = [partita_iva(b) for b in ("0123456016", "0456789022", "0789012046", "0321654015",
                                         "0654987058", "0987321096")]
    fornitori = [partita_iva(b) for b in ("0111222033", "0444555063", "0777888081", "0135792050")]
    privati = [codice_fiscale(b) for b in ("RSSMRA75C12F205", "BNCLRA82E55H501", "VRDGPP60A01L219")]

    foglio("FE", "Fatture emesse",
           ["Partita IVA", "Codice fiscale", "Documento riepilogativo", "IVA non esposta",
            "Noleggio/leasing (A-E)", "Autofattura", "Data documento", "Data registrazione",
            "Numero documento", "Imponibile/importo", "Imposta", "Importo > 999.999 (conferma)"],
           [
               [clienti[0], None, None, None, None, None, d(1, 15), d(1, 15), "1/" + str(anno), 12500.0, 2750.0],
               [clienti[1], None, None, None, None, None, d(2, 3), d(2, 4), "2/" + str(anno), 8340.5, 1834.91],
               [clienti[2], None, None, None, None, None, d(3, 21), d(3, 21), "3/" + str(anno), 4200.0, 924.0],
               [clienti[3], None, None, None, "A", None, d(5, 9), d(5, 10), "4/" + str(anno), 1850.0, 407.0],
               [clienti[4], None, None, None, None, None, d(7, 1), d(7, 1), "5/" + str(anno), 23900.0, 5258.0],
               [None, None, "1", None, None, None, d(9, 30), d(9, 30), "RIEP-3T", 3600.0, 792.0],
               [clienti[5], None, None, None, None, None, d(11, 18), d(11, 19), "6/" + str(anno), 640.0, 140.8],
               [clienti[0], None, None, None, None, None, d(12, 22), d(12, 22), "7/" + str(anno), 9800.0, 2156.0],
           ])
    foglio("FR", "Fatture ricevute",
           ["Partita IVA", "Documento riepilogativo", "Data documento", "Data registrazione",
            "IVA non esposta", "Reverse charge", "Autofattura", "Imponibile/importo", "Imposta",
            "Importo > 999.999 (conferma)"],
           [
               [fornitori[0], None, d(1, 10), d(1, 12), None, None, None, 5600.0, 1232.0],
               [fornitori[1], None, d(2, 28), d(3, 2), None, None, None, 1200.0, 264.0],
               [fornitori[2], None, d(4, 14), d(4, 16), None, "1", None, 7450.0, 1639.0],
               [fornitori[3], None, d(6, 5), d(6, 5), None, None, None, 980.0, 215.6],
               [fornitori[0], None, d(8, 20), d(8, 25), None, None, None, 15300.0, 3366.0],
               [fornitori[1], None, d(10, 31), d(11, 3), None, None, None, 2210.0, 486.2],
           ])
    foglio("NE", "Note di variazione emesse",
           ["Partita IVA", "Codice fiscale", "Data emissione", "Data registrazione", "Numero nota",
            "Imponibile/importo", "Imposta", "Importo > 999.999 (conferma)"],
           [
               [clienti[1], None, d(3, 15), d(3, 15), "NC1/" + str(anno), 340.5, 74.91],
               [clienti[4], None, d(7, 20), d(7, 21), "NC2/" + str(anno), 900.0, 198.0],
           ])
    foglio("NR", "Note di variazione ricevute",
           ["Partita IVA", "Data documento", "Data registrazione", "Imponibile/importo", "Imposta",
            "Importo > 999.999 (conferma)"],
           [[fornitori[2], d(5, 2), d(5, 4), 450.0, 99.0]])
    foglio("DF", "Operazioni senza fattura",
           ["Codice fiscale", "Data operazione", "Importo (IVA inclusa)", "Noleggio/leasing (A-E)",
            "Importo > 999.999 (conferma)"],
           [
               [privati[0], d(4, 8), 4270.0],
               [privati[1], d(6, 19), 3904.0],
               [privati[2], d(12, 2), 5124.0],
           ])
    anagrafica = ["Cognome", "Nome", "Data di nascita", "Comune/Stato estero nascita",
                  "Provincia di nascita", "Stato estero domicilio (cod.)", "Denominazione",
                  "Città estera sede legale", "Stato estero sede (cod.)", "Indirizzo estero sede legale"]
    foglio("FN", "Operazioni con soggetti non residenti",
           anagrafica + ["Data emissione", "Data registrazione", "Numero documento",
                         "Noleggio/leasing (A-E)", "Imponibile/importo", "Imposta",
                         "Importo > 999.999 (conferma)"],
           [
               ["Mueller", "Hans", dt.datetime(1971, 4, 2), "Germania", "EE", 94, None, None, None, None,
                d(6, 12), d(6, 12), "8/" + str(anno), None, 3100.0, 682.0],
               [None, None, None, None, None, None, "Dupont Voyages SARL", "Lyon", 29,
                "12 Rue de la Republique", d(9, 3), d(9, 4), "9/" + str(anno), None, 5400.0, 1188.0],
           ])
    foglio("SE", "Acquisti di servizi da non residenti e da San Marino",
           anagrafica + ["Codice identificativo IVA", "Data emissione", "Data registrazione",
                         "Numero documento", "Imponibile/importo", "Imposta",
                         "Importo > 999.999 (conferma)"],
           [
               [None, None, None, None, None, None, "Cloud Services Ireland Ltd", "Dublin", 40,
                "1 Grand Canal Square", None, d(3, 1), d(3, 5), "INV-2231", 1980.0, 435.6],
               [None, None, None, None, None, None, "Datenwerk Beratung GmbH", "Muenchen", 94,
                "Leopoldstrasse 30", None, d(10, 10), d(10, 14), "2025-0118", 2750.0, 605.0],
           ])
    foglio("TU", "Operazioni legate al turismo",
           ["Cognome", "Nome", "Data di nascita", "Comune/Stato estero nascita", "Provincia di nascita",
            "Città estera di residenza", "Stato estero resid. (cod.)", "Indirizzo estero residenza",
            "Data emissione", "Data registrazione", "Numero documento", "Imponibile/importo",
            "Imposta", "Importo > 999.999 (conferma)"],
           [
               ["Smith", "John", dt.datetime(1965, 8, 21), "Stati Uniti", "EE", "Boston", 69,
                "45 Beacon Street", d(8, 14), d(8, 14), "T1/" + str(anno), 4650.0, 1023.0],
               ["Tanaka", "Yuki", dt.datetime(1980, 11, 5), "Giappone", "EE", "Osaka", 88,
                "2-1 Umeda Kita-ku", d(9, 22), d(9, 22), "T2/" + str(anno), 3990.0, 877.8],
           ])
    wb.save(out)


if __name__ == "__main__":
    main()
