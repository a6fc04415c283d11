#pragma once

namespace dravin {

// Puts the Greek texts of Qt's own dialogs, standard buttons and edit menus on the
// application object, ahead of any translation already there. The texts are built into the
// program; calling again, or for a new application object, installs them once more.
void installGreekQtTexts();

}  // namespace dravin
