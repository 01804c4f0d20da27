#!/usr/bin/python3
"""Makes the inputs of the batch benchmark: 40 operators, each with its own workbook of 5,000
analytical FE rows that the run accepts without errors (the rows of the main road benchmark,
shifted per operator so that no two workbooks are equal).

  genera.py DIR   writes into DIR, unless they are there already:
    soggetti.csv        the 40 operators for `importa operatori` (companies with valid VAT numbers)
    fogli/OP<nn>.xlsx   one workbook per operator
    ELENCO.csv          the list for `lotto` (codice_fiscale;foglio)
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "stradaprincipale"))
import genera as strada  # noqa: E402

OPERATORI = 40
RIGHE = 5000


def main():
    cartella = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(os.path.join(cartella, "fogli"), exist_ok=True)
    soggetti = ["codice_fiscale;partita_iva;tipo_soggetto;ragione_sociale;comune_sede;"
                "provincia_sede;codice_ateco"]
    elenco = ["codice_fiscale;foglio"]
    for k in range(OPERATORI):
        piva = strada.partita_iva(900000 + k)
        soggetti.append("%s;%s;PNF;SOCIETA DI PROVA %02d S.R.L.;MILANO;MI;692000" % (piva, piva, k))
        nome = "fogli/OP%02d.xlsx" % k
        elenco.append("%s;%s" % (piva, nome))
        percorso = os.path.join(cartella, nome)
        if not os.path.exists(percorso):
            riga = lambda i, k=k: strada.riga_fe(i + k * RIGHE)  # noqa: E731
            strada.scrivi_xlsx(percorso + ".parziale.xlsx",
                               [("FE", strada.INTESTAZIONI_FE, 4, riga, RIGHE)])
            os.replace(percorso + ".parziale.xlsx", percorso)
    for nome, righe in (("soggetti.csv", soggetti), ("ELENCO.csv", elenco)):
        with open(os.path.join(cartella, nome), "w", encoding="utf-8", newline="\r\n") as f:
            f.write("\n".join(righe) + "\n")


if __name__ == "__main__":
    main()
