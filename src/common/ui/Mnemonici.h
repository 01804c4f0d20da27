#pragma once

class QMenu;

namespace fcl {

// Gives every item of `menu` that has none a mnemonic (the underlined letter that chooses it from
// the keyboard): the first letter of a word not yet taken in the menu, else any letter or digit
// not taken. Items that carry their own "&" keep it and reserve its letter.
void AssegnaMnemonici(QMenu* menu);

}  // namespace fcl
