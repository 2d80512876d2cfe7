#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QDialog;
class QWidget;

namespace toolkit::qt {

// Runs a box (the input box, a message) as a modal window that Qt itself
// does not see as modal: while it is open, the player's input to the form
// windows is dropped here and activating one of them activates the box
// again. Qt's own modality would also drop the desktop's requests to
// close those windows, on Wayland with no way to see them; this way each
// request reaches its window's closeEvent on every platform.
class BoxLoop : public QObject {
public:
    BoxLoop(QDialog& box, const std::vector<QWidget*>& form_windows);
    ~BoxLoop() override;

    // Shows the box and returns once it is closed or the program ends.
    void run();

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool blocks(const QObject* receiver) const;

    QDialog& box_;
    std::vector<QPointer<QWidget>> form_windows_;
};

}  // namespace toolkit::qt
