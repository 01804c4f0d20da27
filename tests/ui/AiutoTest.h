#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace fcl::test {

// Runs `azione` on the modal window that opens next (once it is on screen), so that a test can
// drive a window shown with exec(). Gives up after a few seconds by closing every modal window,
// so that a broken test fails instead of hanging.
void QuandoSiApre(std::function<void(QWidget*)> azione);

// The QApplication of the suite (offscreen).
QApplication& Applicazione();

}  // namespace fcl::test
