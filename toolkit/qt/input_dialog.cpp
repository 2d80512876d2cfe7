#include "toolkit/qt/input_dialog.h"

#include "toolkit/qt/qt_look.h"
#include "toolkit/texts.h"
#include "toolkit/units.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace toolkit::qt {

InputDialog::InputDialog(const InputBoxRequest& request, QWidget* parent) : QDialog(parent) {
    setWindowTitle(to_qstring(request.title));
    setFont(to_qfont({"Tahoma", 8.25f, false}));

    auto* prompt = new QLabel(to_qstring(request.prompt), this);
    prompt->setWordWrap(true);
    edit_ = new QLineEdit(to_qstring(request.default_answer), this);
    edit_->selectAll();
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(texts::kOk, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(texts::kCancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    setMinimumWidth(to_pixels(240));
    // The position names where the box's frame starts on the screen. Qt takes
    // a position set before the window exists as its client area's (the
    // frame is not known yet), so the window is made now and told so.
    const QPoint at(to_pixels(request.x_twips / kTwipsPerPoint), to_pixels(request.y_twips / kTwipsPerPoint));
    move(at);
    adjustSize();
    winId();
    windowHandle()->setFramePosition(at);
}

QString InputDialog::answer() const { return result() == QDialog::Accepted ? edit_->text() : QString(); }

}  // namespace toolkit::qt
