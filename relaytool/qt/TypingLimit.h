// What the user may type or paste into a line edit: only characters up to
// U+00FF, each of which stands for one byte of a board's text (BoardText.h),
// and, within a limit that, unlike the edit's maximum length, leaves texts set
// by the program whole: typing cannot make the text longer than the limit or
// than it already was, so a longer text set by the program is shown whole and
// can still be shortened and edited. Of a paste that does not fit, as with a
// maximum length, the start is kept.
#pragma once

#include <QValidator>

#include <limits>

class QLineEdit;

namespace relaytool {

class TypingLimit : public QValidator {
 public:
  // Installs itself on `edit`, which owns it.
  explicit TypingLimit(QLineEdit *edit, int limit = std::numeric_limits<int>::max());

  State validate(QString &input, int &pos) const override;

 private:
  QLineEdit *edit_;
  int limit_;
  qsizetype length_;  // of the text before the edit being checked
};

}  // namespace relaytool
