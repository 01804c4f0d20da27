#include "workbook/DefinizioneQuadro.h"

#include <algorithm>
#include <array>

namespace fcl {
namespace {

using C = ClasseValore;
constexpr auto kSeAVuota = Condizione::SeAVuota;
constexpr auto kSeABVuoteEUno = Condizione::SeABVuoteEUno;
constexpr auto kSempre = Condizione::Sempre;

// Columns are given as (index, field number, class); index 0 is column A.
constexpr ColonnaQuadro kFA[] = {
    {0, 1, C::PI, {}},           {1, 2, C::CF, {}, kSeAVuota}, {2, 3, C::CB, {}, kSeABVuoteEUno},
    {3, 4, C::NUPositivo, {}},   {4, 5, C::NUPositivo, {}},    {5, 6, C::TX, {}},
    {6, 7, C::NUPositivo, {}},   {7, 8, C::NUPositivo, {}},    {8, 9, C::NUPositivo, {}},
    {9, 10, C::NUPositivo, {}},  {10, 11, C::NUPositivo, {}},  {11, 12, C::NUPositivo, {}},
    {12, 13, C::NUPositivo, {}}, {13, 14, C::NUPositivo, {}},  {14, 15, C::NUPositivo, {}},
    {15, 16, C::NUPositivo, {}},
};

constexpr ColonnaQuadro kSA[] = {
    {0, 1, C::CF11, {}},
    {1, 2, C::NUPositivo, {}},
    {2, 3, C::NUPositivo, {}},
    {3, 4, C::CBTesto, {}},  // the leasing code (A-E), kept as typed
};

// BL carries one counterpart per record: every column has its own fixed code.
constexpr ColonnaQuadro kBL[] = {
    {0, 0, C::TX, "BL001001"},
    {1, 0, C::TX, "BL001002"},
    {2, 0, C::DT, "BL001003"},
    {3, 0, C::TX, "BL001004"},
    {4, 0, C::TX, "BL001005"},
    {5, 0, C::NU, "BL001006"},
    {6, 0, C::TX, "BL001007"},
    {7, 0, C::TX, "BL001008"},
    {8, 0, C::CC, "BL001009"},
    {9, 0, C::TX, "BL001010"},
    {10, 0, C::TX, "BL002001"},
    {11, 0, C::CB, "BL002002", kSempre, Contatore::BL1},
    {12, 0, C::CB, "BL002003", kSempre, Contatore::BL2},
    {13, 0, C::CB, "BL002004", kSempre, Contatore::BL3},
    {14, 0, C::NU, "BL003001"},
    {15, 0, C::NU, "BL003002"},
    {16, 0, C::NU, "BL004001"},
    {17, 0, C::NU, "BL004002"},
    {18, 0, C::NU, "BL005001"},
    {19, 0, C::NU, "BL005002"},
    {20, 0, C::NU, "BL006001"},
    {21, 0, C::NU, "BL006002"},
    {22, 0, C::NU, "BL007001"},
    {23, 0, C::NU, "BL008001"},
    {24, 0, C::NU, "BL008002"},
};

constexpr ColonnaQuadro kFE[] = {
    {0, 1, C::PI, {}},  {1, 2, C::CF, {}},   {2, 3, C::CB, {}, kSempre, Contatore::RiepilogativiFE},
    {3, 4, C::CB, {}},  {4, 5, C::TX, {}},   {5, 6, C::CB, {}},
    {6, 7, C::DT, {}},  {7, 8, C::DT, {}},   {8, 9, C::TX, {}},
    {9, 10, C::NU, {}}, {10, 11, C::NU, {}}, {11, 12, C::CB, {}},
};

// FR sheets whose C3 heading begins with "DAT" (the dates come first).
constexpr ColonnaQuadro kFR[] = {
    {0, 1, C::PI, {}}, {1, 2, C::CB, {}, kSempre, Contatore::RiepilogativiFR},
    {2, 3, C::DT, {}}, {3, 4, C::DT, {}},
    {4, 5, C::CB, {}}, {5, 6, C::CB, {}},
    {6, 7, C::CB, {}}, {7, 8, C::NU, {}},
    {8, 9, C::NU, {}}, {9, 10, C::CB, {}},
};

// The earlier FR sheet: three flags before the two dates, the VAT number never padded.
constexpr ColonnaQuadro kFRPrecedente[] = {
    {0, 1, C::PISenzaZeri, {}}, {1, 2, C::CB, {}, kSempre, Contatore::RiepilogativiFR},
    {2, 5, C::CB, {}},          {3, 6, C::CB, {}},
    {4, 7, C::CB, {}},          {5, 3, C::DT, {}},
    {6, 4, C::DT, {}},          {7, 8, C::NU, {}},
    {8, 9, C::NU, {}},          {9, 10, C::CB, {}},
};

constexpr ColonnaQuadro kNE[] = {
    {0, 1, C::PI, {}}, {1, 2, C::CF, {}}, {2, 3, C::DT, {}}, {3, 4, C::DT, {}},
    {4, 5, C::TX, {}}, {5, 6, C::NU, {}}, {6, 7, C::NU, {}}, {7, 8, C::CB, {}},
};

constexpr ColonnaQuadro kNR[] = {
    {0, 1, C::PI, {}}, {1, 2, C::DT, {}}, {2, 3, C::DT, {}},
    {3, 4, C::NU, {}}, {4, 5, C::NU, {}}, {5, 6, C::CB, {}},
};

constexpr ColonnaQuadro kDF[] = {
    {0, 1, C::CF11, {}}, {1, 2, C::DT, {}}, {2, 3, C::NU, {}}, {3, 4, C::TX, {}}, {4, 5, C::CB, {}},
};

constexpr ColonnaQuadro kFN[] = {
    {0, 1, C::TX, {}},   {1, 2, C::TX, {}},   {2, 3, C::DT, {}},   {3, 4, C::TX, {}},
    {4, 5, C::TX, {}},   {5, 6, C::CC, {}},   {6, 7, C::TX, {}},   {7, 8, C::TX, {}},
    {8, 9, C::CC, {}},   {9, 10, C::TX, {}},  {10, 11, C::DT, {}}, {11, 12, C::DT, {}},
    {12, 13, C::TX, {}}, {13, 14, C::TX, {}}, {14, 15, C::NU, {}}, {15, 16, C::NU, {}},
    {16, 17, C::CB, {}},
};

// SE differs from FN only in K (a text: the San Marino VAT code) and M (a date).
constexpr ColonnaQuadro kSE[] = {
    {0, 1, C::TX, {}},   {1, 2, C::TX, {}},   {2, 3, C::DT, {}},   {3, 4, C::TX, {}},
    {4, 5, C::TX, {}},   {5, 6, C::CC, {}},   {6, 7, C::TX, {}},   {7, 8, C::TX, {}},
    {8, 9, C::CC, {}},   {9, 10, C::TX, {}},  {10, 11, C::TX, {}}, {11, 12, C::DT, {}},
    {12, 13, C::DT, {}}, {13, 14, C::TX, {}}, {14, 15, C::NU, {}}, {15, 16, C::NU, {}},
    {16, 17, C::CB, {}},
};

constexpr ColonnaQuadro kTU[] = {
    {0, 1, C::TX, {}},   {1, 2, C::TX, {}},   {2, 3, C::DT, {}},   {3, 4, C::TX, {}},
    {4, 5, C::TX, {}},   {5, 6, C::TX, {}},   {6, 7, C::CC, {}},   {7, 8, C::TX, {}},
    {8, 9, C::DT, {}},   {9, 10, C::DT, {}},  {10, 11, C::TX, {}}, {11, 12, C::NU, {}},
    {12, 13, C::NU, {}}, {13, 14, C::CB, {}},
};

// name, quadro, record, first row, rows per record, continuation, upper-cased columns, TA code.
const DefinizioneQuadro kQuadri[] = {
    {"FA", FA, 'C', 4, 3, false, 1, 1, "TA001001", kFA, {}},
    {"SA", SA, 'C', 3, 10, false, 0, 0, "TA002001", kSA, {}},
    {"BL", BL, 'C', 5, 1, true, 0, 9, "TA003001", kBL, {}},
    {"FE", FE, 'D', 4, 6, false, 1, 1, "TA004001", kFE, {}},
    {"FR", FR, 'D', 4, 6, false, -1, -1, "TA005001", kFR, kFRPrecedente},
    {"NE", NE, 'D', 4, 10, false, 1, 1, "TA006001", kNE, {}},
    {"NR", NR, 'D', 4, 10, false, -1, -1, "TA007001", kNR, {}},
    {"DF", DF, 'D', 4, 10, false, 0, 0, "TA008001", kDF, {}},
    {"FN", FN, 'D', 4, 3, true, 0, 9, "TA009001", kFN, {}},
    {"SE", SE, 'D', 4, 3, true, 0, 9, "TA010001", kSE, {}},
    {"TU", TU, 'D', 4, 3, true, 0, 7, "TA011001", kTU, {}},
};

constexpr std::string_view kCodiciTA[] = {
    "TA001001", "TA002001", "TA003001", "TA003002", "TA003003", "TA004001", "TA004002", "TA005001",
    "TA005002", "TA006001", "TA007001", "TA008001", "TA009001", "TA010001", "TA011001",
};

}  // namespace

int DefinizioneQuadro::UltimaColonna() const {
  int ultima = 0;
  for (const auto& c : colonne) ultima = std::max(ultima, c.colonna);
  return ultima;
}

const DefinizioneQuadro* TrovaQuadro(std::string_view nomeFoglio) {
  for (const auto& q : kQuadri)
    if (q.nome == nomeFoglio) return &q;
  return nullptr;
}

std::span<const std::string_view> CodiciTA() { return kCodiciTA; }

}  // namespace fcl
