#pragma once

#include <QObject>

class QWidget;

namespace fcl {

// Gives the input boxes of a window the focus colours: light yellow while a box has the focus,
// white afterwards. A box showing a field error keeps its red until the error is done. A line
// edit filled while the user is elsewhere shows the beginning of its text.
class ColoriFocus : public QObject {
  Q_OBJECT

 public:
  explicit ColoriFocus(QObject* genitore = nullptr);

  // Installs the colours on every input box (line edits, text edits, editable combo boxes) inside
  // `finestra`, and on `finestra` itself when it is one. The filter is owned by `finestra`.
  static void Installa(QWidget* finestra);
  // Installs the colours on one box.
  static void InstallaSu(QWidget* casella);

  // Sets a box's background (the text colour is left alone).
  static void ImpostaSfondo(QWidget* casella, const QColor& colore);

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
};

}  // namespace fcl
