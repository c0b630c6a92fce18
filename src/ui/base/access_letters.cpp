#include "ui/base/access_letters.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QShortcut>
#include <QVariant>
#include <QWidget>
#include <optional>

namespace tomlet {

namespace {

// The item's text before a letter was chosen for it, and the text with that letter.
constexpr char PlainTextProperty[] = "tomletTextWithoutAccessLetter";
constexpr char MarkedTextProperty[] = "tomletTextWithAccessLetter";
constexpr char NoLetterProperty[] = "tomletWithoutAccessLetter";

// The letter a text marks with a single '&'; "&&" is an ampersand.
std::optional<QChar> MarkedLetter(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1];
        ++i;
    }
    return std::nullopt;
}

QChar Folded(QChar letter) {
    return letter.toCaseFolded();
}

bool TakesLetter(const QAction& item) {
    return !item.isSeparator() && !item.text().isEmpty() &&
           !item.property(NoLetterProperty).toBool();
}

// Where to mark a letter of `text` that `used` does not hold: the first free start of a word,
// else the first free letter or digit, else the first free visible sign ("?"); -1 when none is
// free.
qsizetype ChooseLetter(const QString& text, const QSet<QChar>& used) {
    qsizetype letter = -1;
    qsizetype sign = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'&' || c.isSpace() || !c.isPrint() || used.contains(Folded(c)))
            continue;
        if (!c.isLetterOrNumber()) {
            sign = sign < 0 ? i : sign;
        } else if (i == 0 || !text[i - 1].isLetterOrNumber()) {
            return i;
        } else {
            letter = letter < 0 ? i : letter;
        }
    }
    return letter >= 0 ? letter : sign;
}

void MarkLetter(QAction& item, QSet<QChar>& used) {
    const QString text = item.text();
    const qsizetype at = ChooseLetter(text, used);
    if (at < 0)
        return;
    used.insert(Folded(text[at]));
    QString marked = text;
    marked.insert(at, u'&');
    item.setProperty(PlainTextProperty, text);
    item.setProperty(MarkedTextProperty, marked);
    item.setText(marked);
}

// Takes back a letter chosen before, unless the text has been replaced since.
void TakeBackLetter(QAction& item) {
    const QVariant marked = item.property(MarkedTextProperty);
    if (!marked.isValid())
        return;
    if (item.text() == marked.toString())
        item.setText(item.property(PlainTextProperty).toString());
    item.setProperty(PlainTextProperty, QVariant());
    item.setProperty(MarkedTextProperty, QVariant());
}

QSet<QChar> LettersHeld(const QList<QAction*>& items, const QAction* except = nullptr) {
    QSet<QChar> used;
    for (const QAction* item : items) {
        if (item == except || !TakesLetter(*item))
            continue;
        if (const auto letter = MarkedLetter(item->text()))
            used.insert(Folded(*letter));
    }
    return used;
}

void AssignInMenu(const QList<QAction*>& items) {
    QSet<QChar> used = LettersHeld(items);
    for (QAction* item : items) {
        if (TakesLetter(*item) && !MarkedLetter(item->text()))
            MarkLetter(*item, used);
    }
}

}  // namespace

void AssignAccessLetters(QWidget& window) {
    QList<QList<QAction*>> menus;
    for (const QMenuBar* bar : window.findChildren<QMenuBar*>())
        menus.append(bar->actions());
    for (const QMenu* menu : window.findChildren<QMenu*>())
        menus.append(menu->actions());
    for (const QList<QAction*>& items : menus) {
        for (QAction* item : items)
            TakeBackLetter(*item);
    }
    for (const QList<QAction*>& items : menus)
        AssignInMenu(items);
}

void AssignAccessLetter(const QMenu& menu, QAction& item) {
    TakeBackLetter(item);
    if (!TakesLetter(item) || MarkedLetter(item.text()))
        return;
    QSet<QChar> used = LettersHeld(menu.actions(), &item);
    MarkLetter(item, used);
}

void KeepWithoutAccessLetter(QAction& item) {
    item.setProperty(NoLetterProperty, true);
}

QString WithoutAccessLetter(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;  // the mark goes; of "&&" one '&' stays
        plain.append(text[i]);
    }
    return plain;
}

void OpenMenuBarByF10(QMenuBar& bar) {
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar.window());
    QObject::connect(f10, &QShortcut::activated, &bar, [&bar] {
        if (bar.isHidden())
            return;
        for (QAction* title : bar.actions()) {
            if (title->isVisible()) {
                bar.setActiveAction(title);
                return;
            }
        }
    });
}

}  // namespace tomlet
