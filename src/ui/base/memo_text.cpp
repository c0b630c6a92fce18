#include "ui/base/memo_text.h"

#include <QPlainTextEdit>

#include "ui/base/qt_text.h"

namespace tomlet {

void SetMemoText(QPlainTextEdit& memo, std::string_view crlfText) {
    QString text = ToQString(crlfText);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    memo.setPlainText(text);
}

std::string MemoText(const QPlainTextEdit& memo) {
    QString text = memo.toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return FromQString(text);
}

}  // namespace tomlet
