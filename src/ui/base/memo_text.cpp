#include "ui/base/memo_text.h"

#include <QPlainTextEdit>

#include "ui/base/qt_text.h"

namespace tomlet {

namespace {

const QLatin1String StoredLineEnd("\r\n");

}  // namespace

QString MemoDisplayText(std::string_view crlfText) {
    QString text = ToQString(crlfText);
    // The last line's end would show as an empty line more.
    if (text.endsWith(StoredLineEnd))
        text.chop(StoredLineEnd.size());
    return text.replace(StoredLineEnd, QLatin1String("\n"));
}

void SetMemoText(QPlainTextEdit& memo, std::string_view crlfText) {
    memo.setPlainText(MemoDisplayText(crlfText));
}

std::string MemoText(const QPlainTextEdit& memo) {
    QString text = memo.toPlainText();
    if (text.isEmpty())
        return {};
    text.replace(QLatin1Char('\n'), StoredLineEnd);
    return FromQString(text + StoredLineEnd);
}

}  // namespace tomlet
