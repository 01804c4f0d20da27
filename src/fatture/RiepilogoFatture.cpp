#include "fatture/RiepilogoFatture.h"

namespace fcl {

long long RiepilogoFatture::Riportate() const {
  long long n = 0;
  for (const long long r : riportate) n += r;
  return n;
}

std::string RiepilogoFatture::Testo() const {
  std::string t = "Fatture elettroniche: " + std::to_string(file) + " file letti, " +
                  std::to_string(fatture) + " fatture.\n";
  t += "Riportate: " + std::to_string(Riportate());
  std::string quadri;
  for (std::size_t i = 0; i < kQuadri.size(); ++i)
    if (riportate[i] > 0)
      quadri += (quadri.empty() ? "" : ", ") + std::string(kQuadri[i]) + " " +
                std::to_string(riportate[i]);
  if (!quadri.empty()) t += " (" + quadri + ")";
  t += ".\n";
  if (daConfermare > 0) t += "Da confermare o completare: " + std::to_string(daConfermare) + ".\n";
  if (presunte > 0) t += "Con data di registrazione presunta: " + std::to_string(presunte) + ".\n";
  std::string scarti;
  long long totale = 0;
  for (int m = 1; m < kMotiviScarto; ++m) {
    const long long n = scartate[static_cast<std::size_t>(m)];
    if (n == 0) continue;
    totale += n;
    scarti += "\n- " + std::string(DescrizioneMotivo(static_cast<MotivoScarto>(m))) + ": " +
              std::to_string(n);
  }
  if (totale > 0) t += "Non riportate: " + std::to_string(totale) + scarti + "\n";
  return t;
}

}  // namespace fcl
