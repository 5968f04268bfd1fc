#include "TypingLimit.h"

#include <QLineEdit>

namespace relaytool {

TypingLimit::TypingLimit(QLineEdit *edit, int limit) : QValidator(edit), edit_(edit), limit_(limit) {
  edit->setValidator(this);
}

QValidator::State TypingLimit::validate(QString &input, int &) const {
  return Allows(edit_->text().size(), input.size(), limit_) ? Acceptable : Invalid;
}

bool TypingLimit::Allows(qsizetype before, qsizetype after, int limit) {
  return after <= limit || after <= before;
}

}  // namespace relaytool
