#pragma once

#include <optional>
#include <string>

namespace fcl {

// The values of the operators register window, one per box, as text; the option buttons as flags.
// The register's checks and save work on this, so that they are the same from any front end.
struct DatiOperatore {
  std::string tocod;  // fiscal code
  std::string toPIVA;
  bool personaFisica = false;  // o2 "PF" chosen; otherwise o1 "PNF"
  std::string torag;
  std::string vOSCOM, vOSPRO;
  std::string vOCOG, vONOME, vOSEX, vONDT, vONCOM, vONPRO;
  std::string vOPOSTA, vOTEL, vOFAX, vOATT, vOATTD;
  // The subject bound to make the communication.
  std::string vOSTCCF, vOSTCCDCARICA, vOSTCDTINI, vOSTCDTFINE;
  bool tenutoPersonaFisica = true;  // TCPF chosen; otherwise TCPNF
  std::string vOSTCCOG, vOSTCNOME, vOSTCSEX, vOSTCNDT, vOSTCNCOM, vOSTCNPRO;
  std::string vOSTCRAG, vOSTCSCOM, vOSTCSPRO;
  // The commitment to transmit.
  std::string vITTCF, vITTCAF, vITTDATA;
  bool vITT1 = false;
  bool vITT2 = false;
  // The stored rows as they were when the operator was opened (nullopt: a new operator). A save
  // compares it with the rows as they are then, so that it never overwrites what another
  // workstation saved meanwhile; after a save it holds the rows just written.
  std::optional<std::string> versione;
};

}  // namespace fcl
