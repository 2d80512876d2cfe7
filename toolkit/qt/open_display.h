#pragma once

#include <QApplication>
#include <memory>

namespace toolkit::qt {

// Makes the program's QApplication. Where no display can be opened (none
// set, or none answering), Qt would abort with a core dump after several
// lines of its own; instead one line saying so goes to stderr and the
// program exits with status 1; so it does on a screen of too few colours
// for Qt to paint on. What Qt has to say on a good start still reaches
// stderr as usual. argc must outlive the application.
std::unique_ptr<QApplication> open_display(int& argc, char** argv);

}  // namespace toolkit::qt
