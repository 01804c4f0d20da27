#include "pdf/Inflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace fcl {

std::optional<std::string> InflateFlate(std::string_view dati, std::size_t limite) {
  if (dati.size() < 2) return std::nullopt;
  dati.remove_prefix(2);
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return std::nullopt;
  std::string uscita;
  uscita.resize(std::min<std::size_t>(limite, std::max<std::size_t>(dati.size() * 4, 4096)));
  std::size_t prodotti = 0;
  int esito = Z_OK;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dati.data()));
  while (true) {
    // zlib counts in 32-bit units: feed at most 1 GiB at a time.
    if (z.avail_in == 0) {
      const std::size_t letti =
          static_cast<std::size_t>(z.next_in - reinterpret_cast<const Bytef*>(dati.data()));
      z.avail_in = static_cast<uInt>(std::min<std::size_t>(dati.size() - letti, 1u << 30));
    }
    if (prodotti == uscita.size()) {
      if (uscita.size() >= limite) break;
      uscita.resize(std::min(limite, uscita.size() * 2));
    }
    z.next_out = reinterpret_cast<Bytef*>(uscita.data() + prodotti);
    z.avail_out = static_cast<uInt>(std::min<std::size_t>(uscita.size() - prodotti, 1u << 30));
    const uInt primaIn = z.avail_in, primaOut = z.avail_out;
    esito = inflate(&z, Z_NO_FLUSH);
    prodotti += primaOut - z.avail_out;
    if (esito == Z_STREAM_END) break;
    if (esito != Z_OK && esito != Z_BUF_ERROR) break;
    // No input left and no progress: the data ended before the final block.
    if (primaIn == z.avail_in && primaOut == z.avail_out) break;
  }
  inflateEnd(&z);
  if (esito != Z_STREAM_END) return std::nullopt;
  uscita.resize(prodotti);
  return uscita;
}

}  // namespace fcl
