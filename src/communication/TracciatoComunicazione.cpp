#include "communication/TracciatoComunicazione.h"

#include "common/CodiceProduttore.h"
#include "common/RoutineCampi.h"
#include "communication/PulCar.h"
#include "communication/RecordComunicazione.h"

namespace fcl {

std::string DataRecord(std::string_view data) {
  const std::string testo = FormatoData(Valore{std::string(data)});
  return DataGGMMAAAA(testo).value_or("00000000");
}

std::string ComponiRecordA(const OperatoreCorrente& operatore, const RigaOperatore& riga) {
  const std::string intermediario = Rifila(operatore.intermediarioCF);
  RecordComunicazione r('A');
  r.Poni(16, 5, "NSP00");
  if (!intermediario.empty()) {
    r.Poni(21, 2, "10");
    r.Poni(23, 16, intermediario);
  } else {
    r.Poni(21, 2, "01");
    r.Poni(23, 16, !riga.ostccf.empty() ? riga.ostccf : riga.ocod);
  }
  r.Poni(522, 4, "0000");
  r.Poni(526, 4, "0000");
  return PulCar(r.Testo());
}

std::string ComponiRecordB(const OperatoreCorrente& operatore, const RigaOperatore& riga,
                           const SceltaCreazione& scelta, const PianoComunicazione& piano) {
  RecordComunicazione r('B');
  r.Poni(2, 16, riga.ocod);
  r.Poni(18, 8, "00000001");
  r.Poni(74, 11, kCodiceProduttore);

  r.Poni(90, 1, scelta.tipoInvio == TipoInvio::Ordinario ? "1" : "0");
  r.Poni(91, 1, scelta.tipoInvio == TipoInvio::Sostitutivo ? "1" : "0");
  r.Poni(92, 1, scelta.tipoInvio == TipoInvio::Annullamento ? "1" : "0");
  // The protocols are numbers: right-aligned over zeros, and all zeros for an ordinary sending.
  r.Poni(93, 17, std::string(17, '0'));
  r.Poni(110, 6, std::string(6, '0'));
  if (scelta.tipoInvio != TipoInvio::Ordinario) {
    r.Poni(93, 17, AllineaDestra(Rifila(scelta.protocollo), 17, '0'));
    r.Poni(110, 6, AllineaDestra(Rifila(scelta.protocolloDocumento), 6, '0'));
  }

  r.Poni(116, 1, piano.tipoDati == TipoDati::Aggregati ? "1" : "0");
  r.Poni(117, 1, piano.tipoDati == TipoDati::Analitici ? "1" : "0");
  for (int q = FA; q <= TU; ++q)
    r.Poni(static_cast<std::size_t>(118 + q - FA), 1,
           piano.quadro[static_cast<std::size_t>(q)] ? "1" : "0");
  r.Poni(129, 1, piano.quadroTA ? "1" : "0");

  r.Poni(130, 11, riga.opiva);
  r.Poni(141, 6, riga.oatt);
  r.Poni(147, 12, riga.otel);
  r.Poni(159, 12, riga.ofax);
  r.Poni(171, 50, riga.oposta);
  r.Poni(221, 24, riga.ocog);
  r.Poni(245, 20, riga.onome);
  r.Poni(265, 1, riga.osex);
  r.Poni(266, 8, DataRecord(riga.ondt));
  r.Poni(274, 40, riga.oncom);
  r.Poni(314, 2, riga.onpro);
  r.Poni(316, 60, riga.orag);
  r.Poni(376, 4, scelta.anno);
  r.Poni(380, 2, scelta.periodo);

  r.Poni(382, 16, riga.ostccf);
  r.Poni(398, 2, !riga.ostccdcarica.empty() ? riga.ostccdcarica : "00");
  r.Poni(400, 8, DataRecord(riga.ostcdtini));
  r.Poni(408, 8, DataRecord(riga.ostcdtfine));
  r.Poni(416, 24, riga.ostccog);
  r.Poni(440, 20, riga.ostcnome);
  r.Poni(460, 1, riga.ostcsex);
  r.Poni(461, 8, DataRecord(riga.ostcndt));
  r.Poni(469, 40, riga.ostcncom);
  r.Poni(509, 2, riga.ostcnpro);
  r.Poni(511, 60, riga.ostcrag);

  // The intermediary's commitment: fiscal code, the assistance centre's registration number
  // (zeros when there is no intermediary or no number), who prepared the communication, and the
  // commitment date at 594-601 (593 stays blank).
  const std::string intermediario = Rifila(operatore.intermediarioCF);
  r.Poni(571, 16, intermediario);
  const std::string caf = Rifila(operatore.numeroIscrizioneCaf);
  r.Poni(587, 5, !intermediario.empty() && !caf.empty() ? AllineaDestra(caf, 5, '0') : "00000");
  const std::string predisposizione = Rifila(operatore.codicePredisposizione);
  r.Poni(592, 1, predisposizione.empty() ? "0" : predisposizione);
  r.Poni(594, 8, DataRecord(Rifila(operatore.dataImpegno)));
  return PulCar(r.Testo());
}

std::string ComponiRecordE(std::string_view codiceFiscale, const std::vector<CampoTA>& campi) {
  RecordComunicazione r('E');
  r.Poni(2, 16, Rifila(codiceFiscale));
  r.Poni(18, 8, "00000001");
  r.Poni(74, 11, kCodiceProduttore);
  std::size_t posizione = 90;
  for (const CampoTA& c : campi) {
    r.Poni(posizione, 8, c.codice);
    r.Poni(posizione + 8, 16, AllineaDestra(c.valore, 16, ' '));
    posizione += 24;
  }
  return r.Testo();
}

std::string ComponiRecordZ(long long recordC, long long recordD, long long recordE) {
  RecordComunicazione r('Z');
  r.PoniConteggio(16, 9, 1);
  r.PoniConteggio(25, 9, recordC);
  r.PoniConteggio(34, 9, recordD);
  r.PoniConteggio(43, 9, recordE);
  return r.Testo();
}

}  // namespace fcl
