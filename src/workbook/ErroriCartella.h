#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "workbook/LettoreCartella.h"

namespace fcl {

// The reasons a workbook cannot be read, each with its own number and Italian text. The numbers
// are those a user may already know from the spreadsheet program: 53 a missing file, 75 a file
// that cannot be opened, 9 a sheet index that does not exist; the others are ours.
namespace errori_cartella {

inline constexpr int kFileMancante = 53;
inline constexpr int kAccessoNegato = 75;
inline constexpr int kFoglioMancante = 9;
inline constexpr int kNonCartella = 1004;
inline constexpr int kProtetta = 1005;
inline constexpr int kDanneggiata = 1006;
inline constexpr int kParteTroppoGrande = 1007;
inline constexpr int kOltreILimiti = 1008;

// The largest decompressed size accepted for a part of a .xlsx or .ods that is held in memory
// (workbook, relationships, styles, shared strings, manifest) and for a sheet that is streamed.
// Anything beyond is treated as damaged (a "zip bomb"), never read on.
inline constexpr std::uint64_t kLimiteParteTenuta = 256ull << 20;
inline constexpr std::uint64_t kLimiteParteFlusso = 4ull << 30;
// The longest text accepted in one cell or shared string (the spreadsheet program stops at 32,767
// characters; four bytes each in UTF-8 at most).
inline constexpr std::size_t kLimiteTestoCella = 32767 * 4;
// What no real workbook needs, refused before it can take the memory it asks for: more sheets
// than a spreadsheet program makes (10,000), a sheet name longer than an Excel 97-2003 file can
// hold (255 characters), more shared strings than the cells of a full Excel 97-2003 sheet
// (16,777,216), more relationships or cell styles than the sheets and styles of such a workbook.
inline constexpr std::size_t kFogliMassimi = 10000;
inline constexpr std::size_t kLunghezzaNomeFoglio = 255;
inline constexpr std::size_t kTestiCondivisiMassimi = std::size_t{1} << 24;
inline constexpr std::size_t kRelazioniMassime = 100000;
inline constexpr std::size_t kStiliMassimi = std::size_t{1} << 20;

ErroreCartella FileMancante(const std::filesystem::path& percorso);
ErroreCartella AccessoNegato(const std::filesystem::path& percorso);
ErroreCartella NonCartella(const std::filesystem::path& percorso);
ErroreCartella Protetta(const std::filesystem::path& percorso);
// `dettaglio` says what is wrong, in a few words ("il foglio xl/worksheets/sheet1.xml manca").
ErroreCartella Danneggiata(const std::filesystem::path& percorso, const std::string& dettaglio);
ErroreCartella ParteTroppoGrande(const std::filesystem::path& percorso, const std::string& parte,
                                 std::uint64_t limite);
ErroreCartella FoglioMancante(int foglio);
// A workbook that asks for more than any real one needs (`dettaglio`: "elenca più di 10000 fogli").
ErroreCartella OltreILimiti(const std::filesystem::path& percorso, const std::string& dettaglio);
// The characters (code points) of a UTF-8 text.
std::size_t Caratteri(std::string_view testo);

}  // namespace errori_cartella
}  // namespace fcl
