#pragma once

#include <QWidget>

#include <optional>

namespace fcl {

class Calendario;

// The calendar panel of the date picker: the weekday headings (Monday first) and the 37 day cells
// of the month a Calendario shows, seven a row, with the frame around one cell. It takes the keys
// of the picker: Esc, Enter and Space. It draws; the picker decides.
class GrigliaGiorni : public QWidget {
  Q_OBJECT

 public:
  explicit GrigliaGiorni(const Calendario& calendario, QWidget* genitore = nullptr);

  // The framed cell (Shape1).
  void ImpostaCornice(int cella);
  int Cornice() const { return cornice_; }

  // The rectangle of a cell, and the cell under a point (nullopt outside the cells).
  QRect RettangoloCella(int cella) const;
  std::optional<int> CellaIn(const QPoint& punto) const;

  QSize sizeHint() const override;

 signals:
  void clic(int cella);
  void doppioClic(int cella);
  void esc();
  void conferma();

 protected:
  void paintEvent(QPaintEvent* evento) override;
  void mousePressEvent(QMouseEvent* evento) override;
  void mouseDoubleClickEvent(QMouseEvent* evento) override;
  void mouseMoveEvent(QMouseEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  static constexpr int kLarghezzaCella = 42;
  static constexpr int kAltezzaCella = 30;
  static constexpr int kAltezzaIntestazione = 24;
  static constexpr int kMargine = 6;

  bool Piena(int cella) const;

  const Calendario& calendario_;
  int cornice_ = 0;
};

}  // namespace fcl
