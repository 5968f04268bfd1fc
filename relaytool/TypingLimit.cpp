#include "TypingLimit.h"

#include <QLineEdit>

namespace relaytool {

TypingLimit::TypingLimit(QLineEdit *edit, int limit)
    : QValidator(edit), edit_(edit), limit_(limit), length_(edit->text().size()) {
  connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { length_ = text.size(); });
  edit->setValidator(this);
}

QValidator::State TypingLimit::validate(QString &input, int &) const {
  // A text set by the program is checked too, with the edit not (or no longer)
  // marked as modified by the user.
  if (!edit_->isModified()) return Acceptable;
  const qsizetype after = input.size();
  return after <= limit_ || after <= length_ ? Acceptable : Invalid;
}

}  // namespace relaytool
