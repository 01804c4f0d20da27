#pragma once

// An ATECO table as ISTAT publishes it (header CODICE,DESCRIZIONE, every level from the section
// letter to the six-digit subcategory, each parent before its children, titles with commas and
// quotes), made here so that the import is tried on a file of the real size and shape without
// the repository carrying ISTAT's file.

#include <cstddef>
#include <string>

namespace fcl::test {

struct AtecoGenerato {
  std::string csv;
  std::size_t voci = 0;
};

// `divisioni` divisions (01, 02, ...), each with three groups of three classes, each class with
// two categories of two subcategories, under sections of five divisions each.
inline AtecoGenerato GeneraAteco(int divisioni) {
  AtecoGenerato g;
  g.csv = "CODICE,DESCRIZIONE\n";
  auto riga = [&](const std::string& codice, const std::string& titolo) {
    const bool virgolette = titolo.find_first_of(",\"") != std::string::npos;
    std::string t;
    for (const char c : titolo) t += c == '"' ? std::string("\"\"") : std::string(1, c);
    g.csv += codice + "," + (virgolette ? "\"" + t + "\"" : t) + "\n";
    ++g.voci;
  };
  auto due = [](int n) { return std::string(1, char('0' + n / 10)) + char('0' + n % 10); };
  for (int d = 1; d <= divisioni; ++d) {
    if ((d - 1) % 5 == 0)
      riga(std::string(1, char('A' + (d - 1) / 5)), "SEZIONE " + std::to_string((d - 1) / 5));
    const std::string div = due(d);
    riga(div, "DIVISIONE " + div + ", ATTIVITÀ VARIE");
    for (int gr = 1; gr <= 3; ++gr) {
      const std::string gruppo = div + "." + std::to_string(gr);
      riga(gruppo, "GRUPPO " + gruppo);
      for (int cl = 1; cl <= 3; ++cl) {
        const std::string classe = gruppo + std::to_string(cl);
        riga(classe, "Classe " + classe + " (\"tipo\" " + std::to_string(cl) + ")");
        for (int ca = 1; ca <= 2; ++ca) {
          const std::string categoria = classe + "." + std::to_string(ca);
          riga(categoria, "Categoria " + categoria);
          for (int so = 0; so <= 1; ++so)
            riga(categoria + std::to_string(so),
                 "Sottocategoria " + categoria + std::to_string(so) + ", n.c.a.");
        }
      }
    }
  }
  return g;
}

}  // namespace fcl::test
