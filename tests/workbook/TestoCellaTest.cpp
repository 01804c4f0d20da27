#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

Cella Di(Cella::Tipo tipo, double numero, std::string testo = "") {
  Cella c;
  c.tipo = tipo;
  c.numero = numero;
  c.testo = std::move(testo);
  return c;
}

TEST(TestoCella, OgniTipoDiCella) {
  using T = Cella::Tipo;
  struct Case {
    const char* nome;
    Cella cella;
    const char* atteso;
  } const kCases[] = {
      {"vuota", Cella(), ""},
      {"decimale", Di(T::Numero, 1234.5), "1234,5"},
      {"intero", Di(T::Numero, 42), "42"},
      {"negativo", Di(T::Numero, -0.5), "-0,5"},
      {"somma binaria", Di(T::Numero, 0.1 + 0.2), "0,3"},
      {"15 cifre", Di(T::Numero, 123456789012345), "123456789012345"},
      {"oltre 15 cifre", Di(T::Numero, 123456789012345678.0), "123456789012346000"},
      {"piccolo", Di(T::Numero, 0.0000001), "0,0000001"},
      {"zero", Di(T::Numero, 0), "0"},
      {"data", Di(T::Data, 41338), "05/03/2013"},
      {"data 31 dicembre", Di(T::Data, 41639), "31/12/2013"},
      {"data bisestile", Di(T::Data, 40968), "29/02/2012"},
      {"data con ora", Di(T::Data, 41338.75), "05/03/2013"},
      {"data a un soffio dalla mezzanotte", Di(T::Data, 41338.9999999999), "06/03/2013"},
      {"ora sola", Di(T::Data, 0.4376736111), "10:30:15"},
      {"data fuori scala", Di(T::Data, -1), "-1"},
      {"data oltre il 9999", Di(T::Data, 3e6), "3000000"},
      {"testo", Di(T::Testo, 0, "  Rossi  "), "  Rossi  "},
      {"vero", Di(T::Booleano, 1), "VERO"},
      {"falso", Di(T::Booleano, 0), "FALSO"},
      {"errore", Di(T::Errore, 0, "#N/A"), "#N/A"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(TestoCella(c.cella), c.atteso);
  }
}

}  // namespace
}  // namespace fcl
