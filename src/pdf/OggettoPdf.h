#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fcl {

// A value read from a template PDF (a number, name, string, array, dictionary, reference...), as
// far as the page import needs to look inside it and write it out again. Strings and numbers keep
// the exact bytes they were written with, so a copy writes them back unchanged.
struct OggettoPdf {
  enum class Tipo {
    Nullo,
    Booleano,
    Numero,
    Nome,
    Stringa,
    Array,
    Dizionario,
    Riferimento,
    Parola
  };

  Tipo tipo = Tipo::Nullo;
  std::string testo;                 // Numero, Stringa (with delimiters), Booleano, Parola: as
                                     // written; Nome: decoded, without "/"
  std::vector<OggettoPdf> elementi;  // Array items; Dizionario values
  std::vector<std::string> chiavi;   // Dizionario keys (decoded names), parallel to elementi
  int numero = 0, generazione = 0;   // Riferimento

  bool E(Tipo t) const { return tipo == t; }
  bool ENome(std::string_view nome) const { return tipo == Tipo::Nome && testo == nome; }
  // The value of a key of a dictionary; nullptr when absent or when this is no dictionary.
  const OggettoPdf* Cerca(std::string_view chiave) const;
  OggettoPdf* Cerca(std::string_view chiave);
  // Sets a key of a dictionary (replacing its value when present).
  void Imposta(std::string_view chiave, OggettoPdf valore);
  std::optional<double> Numero() const;
  // A whole number that fits an int; nullopt otherwise.
  std::optional<long long> Intero() const;

  static OggettoPdf NumeroIntero(long long n);
  static OggettoPdf Nome(std::string nome);
};

// Writes a value in PDF syntax. Every reference goes through `riferimento`, which appends the
// text to write for it (the number of the copy, or "null").
using ScriviRiferimento = std::function<void(std::string& uscita, const OggettoPdf& riferimento)>;
void SerializzaPdf(const OggettoPdf& valore, std::string& uscita,
                   const ScriviRiferimento& riferimento);

}  // namespace fcl
