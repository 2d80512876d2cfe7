#pragma once

// How the windows and the controls we paint ourselves are described to
// assistive technology (screen readers, automation through AT-SPI): each
// control by the role of its kind, its caption as shown as its name, the
// designer's description, and Qt's usual states; each window as a frame named
// by its title.
namespace toolkit::qt {

// Makes Qt ask us first for the accessible side of our widgets. Safe to call
// more than once; needs a QApplication.
void install_accessible_controls();

}  // namespace toolkit::qt
