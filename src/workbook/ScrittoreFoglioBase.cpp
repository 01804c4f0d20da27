#include "workbook/ScrittoreFoglioBase.h"

#include <xlsxwriter.h>

#include <cstdio>
#include <fstream>
#include <random>

#include "common/Errori.h"
#include "common/ScritturaAtomica.h"

namespace fcl {
namespace {

using C = ClasseColonnaBase;

double Larghezza(ClasseColonnaBase classe) {
  switch (classe) {
    case C::Testo:
      return 24;
    case C::Codice:
      return 19;
    case C::PartitaIva:
      return 14;
    case C::Importo:
      return 15;
    case C::Data:
      return 12;
    default:
      return 11;
  }
}

std::filesystem::path NomeTemporaneo() {
  std::error_code ec;
  std::filesystem::path cartella = std::filesystem::temp_directory_path(ec);
  if (ec) cartella = ".";
  std::random_device caso;
  for (;;) {
    char nome[40];
    std::snprintf(nome, sizeof nome, "fcl-foglio-%08x.xlsx", static_cast<unsigned>(caso()));
    const auto p = cartella / nome;
    if (!std::filesystem::exists(p, ec)) return p;
  }
}

}  // namespace

ScrittoreFoglioBase::ScrittoreFoglioBase(std::filesystem::path destinazione, bool memoriaCostante)
    : destinazione_(std::move(destinazione)), temporaneo_(NomeTemporaneo()) {
  lxw_workbook_options opzioni = {};
  opzioni.constant_memory = memoriaCostante ? LXW_TRUE : LXW_FALSE;
  const std::string percorso = temporaneo_.string();
  cartella_ = workbook_new_opt(percorso.c_str(), &opzioni);
  if (cartella_ == nullptr) Fallisci("impossibile preparare la cartella di lavoro");
  titolo_ = Formato();
  format_set_bold(titolo_);
  format_set_font_size(titolo_, 12);
  intestazione_ = Formato();
  format_set_bold(intestazione_);
  format_set_text_wrap(intestazione_);
  format_set_align(intestazione_, LXW_ALIGN_VERTICAL_TOP);
  format_set_bg_color(intestazione_, 0xDDEBF7);
  format_set_border(intestazione_, LXW_BORDER_THIN);
  codice_ = Formato();
  format_set_font_color(codice_, 0x808080);
  format_set_font_size(codice_, 8);
  testo_ = Formato();
  format_set_num_format(testo_, "@");
  data_ = Formato();
  format_set_num_format(data_, "dd/mm/yyyy");
  importo_ = Formato();
  format_set_num_format(importo_, "#,##0.00");
  intero_ = Formato();
  format_set_num_format(intero_, "0");
  istruzione_ = Formato();
  format_set_text_wrap(istruzione_);
  format_set_align(istruzione_, LXW_ALIGN_VERTICAL_TOP);
  constexpr lxw_color_t kGiallo = 0xFFEB9C;
  testoEvidenziato_ = Formato();
  format_set_num_format(testoEvidenziato_, "@");
  format_set_bg_color(testoEvidenziato_, kGiallo);
  dataEvidenziata_ = Formato();
  format_set_num_format(dataEvidenziata_, "dd/mm/yyyy");
  format_set_bg_color(dataEvidenziata_, kGiallo);
  numeroEvidenziato_ = Formato();
  format_set_num_format(numeroEvidenziato_, "#,##0.00");
  format_set_bg_color(numeroEvidenziato_, kGiallo);
}

ScrittoreFoglioBase::~ScrittoreFoglioBase() {
  if (cartella_ != nullptr) {
    // Closing writes the file: a workbook given up is still closed, then its file removed.
    workbook_close(cartella_);
    cartella_ = nullptr;
  }
  std::error_code ec;
  std::filesystem::remove(temporaneo_, ec);
}

lxw_format* ScrittoreFoglioBase::Formato() { return workbook_add_format(cartella_); }

lxw_format* ScrittoreFoglioBase::FormatoDi(ClasseColonnaBase classe) const {
  switch (classe) {
    case C::PartitaIva:
    case C::Codice:
    case C::Testo:
    case C::Leasing:
      return testo_;
    case C::Importo:
      return importo_;
    case C::Numero:
    case C::Paese:
    case C::Casella:
      return intero_;
    case C::Data:
      return data_;
  }
  return nullptr;
}

void ScrittoreFoglioBase::Istruzioni(const std::vector<std::string>& aggiunte) {
  lxw_worksheet* foglio = workbook_add_worksheet(cartella_, std::string(kFoglioIstruzioni).c_str());
  worksheet_set_column(foglio, 0, 0, 110, istruzione_);
  lxw_row_t riga = 0;
  for (const std::string_view testo : IstruzioniFoglioBase()) {
    worksheet_write_string(foglio, riga, 0, std::string(testo).c_str(),
                           riga == 0 ? titolo_ : nullptr);
    ++riga;
  }
  for (const std::string& testo : aggiunte)
    worksheet_write_string(foglio, riga++, 0, testo.c_str(), nullptr);
}

void ScrittoreFoglioBase::Foglio(const QuadroBase& quadro) {
  foglio_ = workbook_add_worksheet(cartella_, std::string(quadro.nome).c_str());
  if (foglio_ == nullptr) Fallisci("foglio " + std::string(quadro.nome));
  quadro_ = &quadro;
  const auto prima = static_cast<lxw_row_t>(quadro.primaRiga - 1);  // 0-based first data row
  for (std::size_t i = 0; i < quadro.colonne.size(); ++i) {
    const auto colonna = static_cast<lxw_col_t>(i);
    const ColonnaBase& c = quadro.colonne[i];
    worksheet_set_column(foglio_, colonna, colonna, Larghezza(c.classe), FormatoDi(c.classe));
    Convalida(foglio_, prima, colonna, c.classe);
  }
  // Constant memory: rows go out in order, so row 1, 2 and the headings come first.
  worksheet_write_string(foglio_, 0, 0, TitoloFoglioBase(quadro).c_str(), titolo_);
  if (const auto nota = NotaFoglioBase(quadro); !nota.empty())
    worksheet_write_string(foglio_, 1, 0, std::string(nota).c_str(), nullptr);
  if (prima >= 3) {
    for (std::size_t i = 0; i < quadro.colonne.size(); ++i) {
      char buffer[9];
      const std::string codice(CodiceColonnaBase(quadro, static_cast<int>(i), buffer));
      worksheet_write_string(foglio_, prima - 2, static_cast<lxw_col_t>(i), codice.c_str(),
                             codice_);
    }
  }
  worksheet_set_row(foglio_, prima - 1, 45, nullptr);
  for (std::size_t i = 0; i < quadro.colonne.size(); ++i)
    worksheet_write_string(foglio_, prima - 1, static_cast<lxw_col_t>(i),
                           std::string(quadro.colonne[i].intestazione).c_str(), intestazione_);
  worksheet_freeze_panes(foglio_, prima, 0);
  rigaCorrente_ = prima;
}

void ScrittoreFoglioBase::Riga(const std::vector<Cella>& celle, std::uint32_t evidenziate) {
  const std::size_t colonne = std::min(celle.size(), quadro_->colonne.size());
  for (std::size_t k = 0; k < colonne; ++k) {
    const Cella& c = celle[k];
    const auto col = static_cast<lxw_col_t>(k);
    const bool evidenziata = (evidenziate >> k) & 1u;
    lxw_error e = LXW_NO_ERROR;
    switch (c.tipo) {
      case Cella::Tipo::Vuota:
        if (evidenziata) e = worksheet_write_blank(foglio_, rigaCorrente_, col, testoEvidenziato_);
        break;
      case Cella::Tipo::Testo:
        e = worksheet_write_string(foglio_, rigaCorrente_, col, c.testo.c_str(),
                                   evidenziata ? testoEvidenziato_ : testo_);
        break;
      case Cella::Tipo::Data:
        e = worksheet_write_number(foglio_, rigaCorrente_, col, c.numero,
                                   evidenziata ? dataEvidenziata_ : data_);
        break;
      default: {
        lxw_format* f = quadro_->colonne[k].classe == C::Importo ? importo_ : intero_;
        e = worksheet_write_number(foglio_, rigaCorrente_, col, c.numero,
                                   evidenziata ? numeroEvidenziato_ : f);
        break;
      }
    }
    if (e != LXW_NO_ERROR) Fallisci(lxw_strerror(e));
  }
  ++rigaCorrente_;
}

void ScrittoreFoglioBase::Chiudi() {
  const lxw_error e = workbook_close(cartella_);
  cartella_ = nullptr;
  if (e != LXW_NO_ERROR) Fallisci(lxw_strerror(e));
  std::ifstream in(temporaneo_, std::ios::binary);
  if (!in) Fallisci("file temporaneo illeggibile");
  ScritturaAtomica scrittura(destinazione_);
  std::string blocco(1 << 20, '\0');
  while (in) {
    in.read(blocco.data(), static_cast<std::streamsize>(blocco.size()));
    const auto letti = in.gcount();
    if (letti > 0)
      scrittura.Scrivi(std::string_view(blocco.data(), static_cast<std::size_t>(letti)));
  }
  if (in.bad()) Fallisci("file temporaneo illeggibile");
  scrittura.Conferma();
}

void ScrittoreFoglioBase::Fallisci(const std::string& dettaglio) const {
  throw ErroreFile("Impossibile scrivere la cartella di lavoro " + destinazione_.string() + ": " +
                   dettaglio);
}

void ScrittoreFoglioBase::Convalida(lxw_worksheet* foglio, unsigned prima, unsigned short colonna,
                                    ClasseColonnaBase classe) {
  lxw_data_validation v = {};
  v.error_type = LXW_VALIDATION_ERROR_TYPE_WARNING;
  v.ignore_blank = LXW_VALIDATION_ON;
  v.show_error = LXW_VALIDATION_ON;
  const char* kLeasing[] = {"A", "B", "C", "D", "E", nullptr};
  const char* kCasella[] = {"1", nullptr};
  switch (classe) {
    case C::PartitaIva:
      v.validate = LXW_VALIDATION_TYPE_LENGTH;
      v.criteria = LXW_VALIDATION_CRITERIA_EQUAL_TO;
      v.value_number = 11;
      v.error_title = const_cast<char*>("Partita IVA");
      v.error_message = const_cast<char*>("La partita IVA ha 11 cifre.");
      break;
    case C::Codice:
      v.validate = LXW_VALIDATION_TYPE_LENGTH;
      v.criteria = LXW_VALIDATION_CRITERIA_LESS_THAN_OR_EQUAL_TO;
      v.value_number = 16;
      v.error_title = const_cast<char*>("Codice fiscale");
      v.error_message = const_cast<char*>("Il codice fiscale ha al massimo 16 caratteri.");
      break;
    case C::Leasing:
      v.validate = LXW_VALIDATION_TYPE_LIST;
      v.value_list = const_cast<char**>(kLeasing);
      v.error_title = const_cast<char*>("Noleggio/leasing");
      v.error_message = const_cast<char*>("Una lettera da A a E.");
      break;
    case C::Casella:
      v.validate = LXW_VALIDATION_TYPE_LIST;
      v.value_list = const_cast<char**>(kCasella);
      v.error_title = const_cast<char*>("Casella");
      v.error_message = const_cast<char*>("Scrivere 1 per barrare la casella.");
      break;
    case C::Importo:
      v.validate = LXW_VALIDATION_TYPE_DECIMAL;
      v.criteria = LXW_VALIDATION_CRITERIA_GREATER_THAN_OR_EQUAL_TO;
      v.value_number = 0;
      v.error_title = const_cast<char*>("Importo");
      v.error_message = const_cast<char*>("Un importo in euro, positivo.");
      break;
    case C::Numero:
      v.validate = LXW_VALIDATION_TYPE_INTEGER;
      v.criteria = LXW_VALIDATION_CRITERIA_GREATER_THAN_OR_EQUAL_TO;
      v.value_number = 0;
      v.error_title = const_cast<char*>("Numero");
      v.error_message = const_cast<char*>("Un numero intero, positivo.");
      break;
    case C::Paese:
      v.validate = LXW_VALIDATION_TYPE_INTEGER;
      v.criteria = LXW_VALIDATION_CRITERIA_BETWEEN;
      v.minimum_number = 1;
      v.maximum_number = 999;
      v.error_title = const_cast<char*>("Codice Stato estero");
      v.error_message = const_cast<char*>("Il codice numerico dello Stato, da 1 a 999.");
      break;
    case C::Data:
      v.validate = LXW_VALIDATION_TYPE_DATE;
      v.criteria = LXW_VALIDATION_CRITERIA_BETWEEN;
      v.minimum_datetime = lxw_datetime{1900, 1, 1, 0, 0, 0};
      v.maximum_datetime = lxw_datetime{2099, 12, 31, 0, 0, 0};
      v.error_title = const_cast<char*>("Data");
      v.error_message = const_cast<char*>("Una data nella forma gg/mm/aaaa.");
      break;
    case C::Testo:
      return;
  }
  worksheet_data_validation_range(foglio, prima, colonna, LXW_ROW_MAX - 1, colonna, &v);
}

}  // namespace fcl
