#include "verifica/Regole.h"

#include <array>
#include <cstddef>

namespace fcl {
namespace {

using enum Gravita;

struct VoceRegola {
  Regola regola;
  Gravita gravita;
  std::string_view nome;
};

// Errore: what the Agenzia's control software refuses (the frame, the format classes, the codes'
// check characters, the combinations the published layout excludes). Avvertimento: what the
// sources handle differently or only one source enforces, and what a user should look at.
constexpr VoceRegola kRegole[] = {
    {Regola::FileVuoto, Errore, "FileVuoto"},
    {Regola::FineRiga, Errore, "FineRiga"},
    {Regola::LunghezzaRecord, Errore, "LunghezzaRecord"},
    {Regola::CarattereControllo, Errore, "CarattereControllo"},
    {Regola::FineRecord, Errore, "FineRecord"},
    {Regola::TipoRecord, Errore, "TipoRecord"},
    {Regola::OrdineRecord, Errore, "OrdineRecord"},
    {Regola::RecordMancante, Errore, "RecordMancante"},
    {Regola::Riempitivo, Errore, "Riempitivo"},
    {Regola::ValoreFisso, Errore, "ValoreFisso"},
    {Regola::ProgressivoModulo, Errore, "ProgressivoModulo"},
    {Regola::CodiceFiscaleRecord, Errore, "CodiceFiscaleRecord"},
    {Regola::CodiceProduttore, Avvertimento, "CodiceProduttore"},
    {Regola::ConteggioZ, Errore, "ConteggioZ"},
    {Regola::Obbligatorio, Errore, "Obbligatorio"},
    {Regola::CodiceFiscale, Errore, "CodiceFiscale"},
    {Regola::PartitaIva, Errore, "PartitaIva"},
    {Regola::UfficioPartitaIva, Avvertimento, "UfficioPartitaIva"},
    {Regola::Data, Errore, "Data"},
    {Regola::Numerico, Errore, "Numerico"},
    {Regola::Importo, Errore, "Importo"},
    {Regola::ValoreZero, Avvertimento, "ValoreZero"},
    {Regola::Casella, Errore, "Casella"},
    {Regola::CodiceStato, Errore, "CodiceStato"},
    {Regola::Provincia, Errore, "Provincia"},
    {Regola::ProvinciaSconosciuta, Avvertimento, "ProvinciaSconosciuta"},
    {Regola::Leasing, Errore, "Leasing"},
    {Regola::Allineamento, Errore, "Allineamento"},
    {Regola::AllineamentoTesto, Avvertimento, "AllineamentoTesto"},
    {Regola::Minuscole, Avvertimento, "Minuscole"},
    {Regola::CarattereNonAscii, Avvertimento, "CarattereNonAscii"},
    {Regola::Telefono, Avvertimento, "Telefono"},
    {Regola::Sesso, Errore, "Sesso"},
    {Regola::TipoFornitore, Errore, "TipoFornitore"},
    {Regola::FornitoreA, Errore, "FornitoreA"},
    {Regola::ProgressivoInvio, Errore, "ProgressivoInvio"},
    {Regola::TipoComunicazione, Errore, "TipoComunicazione"},
    {Regola::Protocollo, Errore, "Protocollo"},
    {Regola::TipologiaDati, Errore, "TipologiaDati"},
    {Regola::QuadroCompilato, Errore, "QuadroCompilato"},
    {Regola::DatiMisti, Errore, "DatiMisti"},
    {Regola::Annullamento, Errore, "Annullamento"},
    {Regola::DatiContribuente, Errore, "DatiContribuente"},
    {Regola::TipoSoggetto, Avvertimento, "TipoSoggetto"},
    {Regola::MeseTrimestre, Errore, "MeseTrimestre"},
    {Regola::SoggettoTenuto, Errore, "SoggettoTenuto"},
    {Regola::DatiSoggettoTenuto, Avvertimento, "DatiSoggettoTenuto"},
    {Regola::Intermediario, Errore, "Intermediario"},
    {Regola::CodiceCampo, Errore, "CodiceCampo"},
    {Regola::RigoModulo, Avvertimento, "RigoModulo"},
    {Regola::CampoRipetuto, Errore, "CampoRipetuto"},
    {Regola::Continuazione, Errore, "Continuazione"},
    {Regola::ContinuazioneDivisa, Avvertimento, "ContinuazioneDivisa"},
    {Regola::ElementoDopoVuoto, Avvertimento, "ElementoDopoVuoto"},
    {Regola::ValoreVuoto, Errore, "ValoreVuoto"},
    {Regola::Alternativi, Errore, "Alternativi"},
    {Regola::DatoMancante, Errore, "DatoMancante"},
    {Regola::DatiIncompleti, Avvertimento, "DatiIncompleti"},
    {Regola::SezioneBL, Avvertimento, "SezioneBL"},
    {Regola::ConfermaImporto, Errore, "ConfermaImporto"},
    {Regola::ConfermaSuperflua, Avvertimento, "ConfermaSuperflua"},
    {Regola::DataFuoriAnno, Avvertimento, "DataFuoriAnno"},
    {Regola::SanMarino, Errore, "SanMarino"},
    {Regola::IdentificativoIva, Avvertimento, "IdentificativoIva"},
    {Regola::TotaleTA, Errore, "TotaleTA"},
};

constexpr std::size_t kNumeroRegole = static_cast<std::size_t>(Regola::TotaleTA) + 1;
static_assert(std::size(kRegole) == kNumeroRegole, "every rule needs its row");

constexpr bool TabellaInOrdine() {
  for (std::size_t i = 0; i < std::size(kRegole); ++i)
    if (static_cast<std::size_t>(kRegole[i].regola) != i) return false;
  return true;
}
static_assert(TabellaInOrdine(), "rows in the order of the enum");

}  // namespace

Gravita GravitaRegola(Regola regola) { return kRegole[static_cast<std::size_t>(regola)].gravita; }

std::string_view NomeRegola(Regola regola) {
  return kRegole[static_cast<std::size_t>(regola)].nome;
}

}  // namespace fcl
