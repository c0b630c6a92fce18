#include "ui/base/access_letters.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
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

// The text that shows an item's letter: a menu item's, a button's, a label's, a group's title.
QString TextOf(const QObject& item) {
    if (const auto* action = qobject_cast<const QAction*>(&item))
        return action->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&item))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(&item))
        return label->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(&item))
        return group->title();
    return {};
}

void SetTextOf(QObject& item, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(&item))
        action->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(&item))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(&item))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(&item))
        group->setTitle(text);
}

bool TakesLetter(const QObject& item) {
    if (const auto* action = qobject_cast<const QAction*>(&item); action && action->isSeparator())
        return false;
    // A label's letter moves the focus to its buddy: a label without one has no use for it.
    if (const auto* label = qobject_cast<const QLabel*>(&item); label && !label->buddy())
        return false;
    return !TextOf(item).isEmpty() && !item.property(NoLetterProperty).toBool();
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

void MarkLetter(QObject& item, QSet<QChar>& used) {
    const QString text = TextOf(item);
    const qsizetype at = ChooseLetter(text, used);
    if (at < 0)
        return;
    used.insert(Folded(text[at]));
    QString marked = text;
    marked.insert(at, u'&');
    item.setProperty(PlainTextProperty, text);
    item.setProperty(MarkedTextProperty, marked);
    SetTextOf(item, marked);
}

// Takes back a letter chosen before, unless the text has been replaced since.
void TakeBackLetter(QObject& item) {
    const QVariant marked = item.property(MarkedTextProperty);
    if (!marked.isValid())
        return;
    if (TextOf(item) == marked.toString())
        SetTextOf(item, item.property(PlainTextProperty).toString());
    item.setProperty(PlainTextProperty, QVariant());
    item.setProperty(MarkedTextProperty, QVariant());
}

template <class Item>
QSet<QChar> LettersHeld(const QList<Item*>& items, const QObject* except = nullptr) {
    QSet<QChar> used;
    for (const Item* item : items) {
        if (item == except || !TakesLetter(*item))
            continue;
        if (const auto letter = MarkedLetter(TextOf(*item)))
            used.insert(Folded(*letter));
    }
    return used;
}

// Letters unique among `items`, which may hold letters of their own.
template <class Item>
void AssignAmong(const QList<Item*>& items) {
    QSet<QChar> used = LettersHeld(items);
    for (Item* item : items) {
        if (TakesLetter(*item) && !MarkedLetter(TextOf(*item)))
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
        AssignAmong(items);
}

void AssignControlAccessLetters(QWidget& dialog) {
    QList<QObject*> controls;
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control) ||
            qobject_cast<QGroupBox*>(control))
            controls.append(control);
    }
    for (QObject* control : controls)
        TakeBackLetter(*control);
    AssignAmong(controls);
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
