#pragma once

#include <string>
#include <string_view>

class QPlainTextEdit;
class QString;

namespace tomlet {

// Multi-line texts are stored as a multi-line edit box of the original system yields them: every
// line, the last one included, followed by CR LF; an empty box is an empty text. Qt's boxes work
// with LF between the lines and none after the last.
void SetMemoText(QPlainTextEdit& memo, std::string_view crlfText);
std::string MemoText(const QPlainTextEdit& memo);
// What SetMemoText puts in a box for the text.
QString MemoDisplayText(std::string_view crlfText);

}  // namespace tomlet
