#pragma once

#include "toolkit/runtime.h"

#include <QDialog>

class QLineEdit;

namespace toolkit::qt {

// The input box: a prompt, an edit field holding the default answer, and the
// buttons "ОК" and "Отмена". Enter confirms; Escape or closing it cancels.
class InputDialog : public QDialog {
public:
    explicit InputDialog(const InputBoxRequest& request, QWidget* parent = nullptr);

    QString answer() const;

private:
    QLineEdit* edit_;
};

}  // namespace toolkit::qt
