#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace fcl::test {

// Runs `azione` on the modal window that opens next (once it is on screen), so that a test can
// drive a window shown with exec(). When no modal window opens within a few seconds the test
// fails.
void QuandoSiApre(std::function<void(QWidget*)> azione);

}  // namespace fcl::test
