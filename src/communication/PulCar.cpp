#include "communication/PulCar.h"

namespace fcl {

std::string PulCar(std::string_view recordCp1252) {
  std::string r(recordCp1252);
  for (char& c : r) {
    unsigned char b = static_cast<unsigned char>(c);
    switch (b) {
      case '(':
      case ')':
      case '<':
      case '>':
      case '[':
      case ']':
      case ';':
      case '|':
      case ',':
      case '"':
        b = ' ';
        break;
      case 0xE0:
        b = 'a';
        break;  // à
      case 0xF2:
        b = 'o';
        break;  // ò
      case 0xE8:
        b = 'e';
        break;  // è
      case 0xE9:
        b = 'e';
        break;  // é
      case 0xEC:
        b = 'i';
        break;  // ì
      default:
        break;
    }
    if (b >= 'a' && b <= 'z') {
      b -= 0x20;
    } else if (b >= 0xE0 && b <= 0xFE && b != 0xF7) {
      b -= 0x20;  // the accented small letters of Windows-1252 sit 32 above their capitals
    } else if (b == 0x9A || b == 0x9C || b == 0x9E) {
      b -= 0x10;  // š œ ž
    } else if (b == 0xFF) {
      b = 0x9F;  // ÿ
    }
    c = static_cast<char>(b);
  }
  return r;
}

}  // namespace fcl
