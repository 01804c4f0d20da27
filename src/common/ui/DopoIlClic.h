#pragma once

#include <QElapsedTimer>

namespace fcl {

// Holds back a result message until the double-click interval since the click that started the
// work has passed, handling the program's events meanwhile: the second click of a double click
// then reaches the (disabled) button that started the work instead of dismissing the message
// before it can be read. Started at the click; an invalid timer waits for nothing.
void AttendiFineDoppioClic(const QElapsedTimer& dalClic);

}  // namespace fcl
