#include "pdf/OggettoPdf.h"

#include <charconv>
#include <cmath>

#include "pdf/FormatoPdf.h"

namespace fcl {

const OggettoPdf* OggettoPdf::Cerca(std::string_view chiave) const {
  if (tipo != Tipo::Dizionario) return nullptr;
  for (std::size_t i = 0; i < chiavi.size(); ++i)
    if (chiavi[i] == chiave) return &elementi[i];
  return nullptr;
}

OggettoPdf* OggettoPdf::Cerca(std::string_view chiave) {
  return const_cast<OggettoPdf*>(static_cast<const OggettoPdf*>(this)->Cerca(chiave));
}

void OggettoPdf::Imposta(std::string_view chiave, OggettoPdf valore) {
  if (OggettoPdf* v = Cerca(chiave)) {
    *v = std::move(valore);
    return;
  }
  chiavi.emplace_back(chiave);
  elementi.push_back(std::move(valore));
}

std::optional<double> OggettoPdf::Numero() const {
  if (tipo != Tipo::Numero) return std::nullopt;
  std::string_view t = testo;
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double v = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long long> OggettoPdf::Intero() const {
  const auto v = Numero();
  if (!v || *v != std::floor(*v) || std::fabs(*v) > 2147483647.0) return std::nullopt;
  return static_cast<long long>(*v);
}

OggettoPdf OggettoPdf::NumeroIntero(long long n) {
  OggettoPdf o;
  o.tipo = Tipo::Numero;
  o.testo = std::to_string(n);
  return o;
}

OggettoPdf OggettoPdf::Nome(std::string nome) {
  OggettoPdf o;
  o.tipo = Tipo::Nome;
  o.testo = std::move(nome);
  return o;
}

void SerializzaPdf(const OggettoPdf& v, std::string& u, const ScriviRiferimento& riferimento) {
  using T = OggettoPdf::Tipo;
  switch (v.tipo) {
    case T::Nullo:
      u += "null";
      break;
    case T::Booleano:
    case T::Numero:
    case T::Stringa:
    case T::Parola:
      u += v.testo;
      break;
    case T::Nome:
      u.push_back('/');
      u += NomePdf(v.testo);
      break;
    case T::Riferimento:
      riferimento(u, v);
      break;
    case T::Array:
      u.push_back('[');
      for (std::size_t i = 0; i < v.elementi.size(); ++i) {
        if (i > 0) u.push_back(' ');
        SerializzaPdf(v.elementi[i], u, riferimento);
      }
      u.push_back(']');
      break;
    case T::Dizionario:
      u += "<<";
      for (std::size_t i = 0; i < v.chiavi.size(); ++i) {
        u += " /";
        u += NomePdf(v.chiavi[i]);
        u.push_back(' ');
        SerializzaPdf(v.elementi[i], u, riferimento);
      }
      u += " >>";
      break;
  }
}

}  // namespace fcl
