#include <QHeaderView>
#include <QTest>

#include <gtest/gtest.h>

#include "common/ui/ListaVista.h"
#include "store/Database.h"

namespace fcl {
namespace {

std::vector<QString> Colonna(const ListaVista& l, int c) {
  std::vector<QString> v;
  for (int r = 0; r < l.model()->rowCount(); ++r)
    v.push_back(l.model()->index(r, c).data().toString());
  return v;
}

TEST(ListaVista, RiempimentoColonneNascosteOrdinamentoESelezione) {
  Database db = Database::InMemoria();
  db.Esegui("CREATE TABLE OPE (CF TEXT, NOME TEXT, DataImpegno DATE, DACO INTEGER)");
  db.Esegui(
      "INSERT INTO OPE VALUES ('A1', 'Rossi', '2015-11-05', 1), ('B2', 'Bianchi', '2016-01-31', 0),"
      " ('C3', 'Verdi', '2014-12-01', 1)");
  ListaVista l;
  l.resize(600, 300);
  l.show();
  std::string filtro;
  l.RiempiLista(db, "SELECT CF as Codice, NOME as Nome, DataImpegno, DACO FROM OPE", filtro);

  // Columns: icon, Codice, Nome, DataImpegno, DACO (hidden), XXDataImpegno (hidden).
  ASSERT_EQ(l.model()->columnCount(), 6);
  EXPECT_EQ(l.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral(" "));
  EXPECT_FALSE(l.isColumnHidden(0));  // rows with icons
  EXPECT_TRUE(l.isColumnHidden(4));
  EXPECT_TRUE(l.isColumnHidden(5));
  EXPECT_FALSE(l.model()->index(0, 0).data(Qt::DecorationRole).isNull());
  EXPECT_TRUE(l.model()->index(1, 0).data(Qt::DecorationRole).isNull());
  EXPECT_GE(l.columnWidth(2), l.fontMetrics().horizontalAdvance(QStringLiteral("Bianchi")));
  ASSERT_TRUE(l.RigaSelezionata().has_value());  // the first row, as after every fill
  EXPECT_EQ(*l.RigaSelezionata(), 0u);

  // Header clicks: descending, then ascending; dates by date; the selected row stays selected.
  l.SelezionaRiga("B2", "Codice");
  QTest::mouseClick(l.header()->viewport(), Qt::LeftButton, {},
                    QPoint(l.header()->sectionViewportPosition(3) + 5, 5));
  EXPECT_EQ(Colonna(l, 3),
            (std::vector<QString>{QStringLiteral("31/01/2016"), QStringLiteral("05/11/2015"),
                                  QStringLiteral("01/12/2014")}));
  EXPECT_EQ(l.header()->sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_EQ(l.LeggiSelezione({"Codice", "Nome"}), (std::vector<std::string>{"B2", "Bianchi"}));
  l.OrdinaColonna(3);
  EXPECT_EQ(Colonna(l, 1), (std::vector<QString>{QStringLiteral("C3"), QStringLiteral("A1"),
                                                 QStringLiteral("B2")}));
  EXPECT_EQ(l.LeggiSelezione({"Codice"}), (std::vector<std::string>{"B2"}));
  l.OrdinaColonna(2);
  EXPECT_EQ(Colonna(l, 2), (std::vector<QString>{QStringLiteral("Verdi"), QStringLiteral("Rossi"),
                                                 QStringLiteral("Bianchi")}));

  // A result without rows: titles at the fixed width or wider, never cut; no icon column, no
  // row, nothing selected.
  l.RiempiLista(db, "SELECT CF as Codice_Fiscale, NOME as Nome FROM OPE WHERE CF = 'nessuno'",
                filtro);
  EXPECT_EQ(l.model()->rowCount(), 0);
  EXPECT_TRUE(l.isColumnHidden(0));
  EXPECT_GE(l.columnWidth(1), l.Pixel(1000));
  EXPECT_GT(l.columnWidth(1),
            l.header()->fontMetrics().horizontalAdvance(QStringLiteral("Codice_Fiscale")));
  EXPECT_EQ(l.LeggiSelezione({"Codice_Fiscale"}), (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace fcl
