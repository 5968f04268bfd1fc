#include "TypingLimit.h"

#include <QLineEdit>

#include <algorithm>

namespace relaytool {

TypingLimit::TypingLimit(QLineEdit *edit, int limit)
    : QValidator(edit), edit_(edit), limit_(limit), length_(edit->text().size()) {
  connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { length_ = text.size(); });
  edit->setValidator(this);
}

QValidator::State TypingLimit::validate(QString &input, int &pos) const {
  // A text set by the program is checked too, with the edit not (or no longer)
  // marked as modified by the user.
  if (!edit_->isModified()) return Acceptable;
  // A character above U+00FF has no byte to stand for: it is dropped.
  for (qsizetype i = input.size(); i-- > 0;) {
    if (input[i].unicode() <= 0xFF) continue;
    input.remove(i, 1);
    if (i < pos) --pos;
  }
  // What was typed or pasted ends at the cursor; as much of its start is kept
  // as fits.
  const qsizetype excess = input.size() - std::max<qsizetype>(limit_, length_);
  if (excess > 0) {
    input.remove(pos - excess, excess);
    pos -= static_cast<int>(excess);
  }
  return Acceptable;
}

}  // namespace relaytool
