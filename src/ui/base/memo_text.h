#pragma once

#include <string>
#include <string_view>

class QPlainTextEdit;

namespace tomlet {

// Multi-line texts are stored with CR LF line ends; edit boxes work with LF.
void SetMemoText(QPlainTextEdit& memo, std::string_view crlfText);
std::string MemoText(const QPlainTextEdit& memo);

}  // namespace tomlet
